#pragma once

#include "input/MovementModifiers.h"

#include <QDialog>

#include <array>
#include <memory>

class QDoubleSpinBox;

namespace Ui {
class ModifierDialog;
}

// Modal dialog that edits one set of movement modifiers: the xy, x and y factors and the
// jitter level.
class ModifierDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ModifierDialog(QWidget* parent = nullptr);
    ~ModifierDialog() override;

    // Shows the set. A jitter level without an item leaves the level selection as it was.
    void setModifiers(const MovementModifiers& modifiers);
    // The values shown, except that a factor the user did not change is the one set (the box
    // may have rounded it or held it to its range); the level is that of the selected item.
    MovementModifiers modifiers() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fillLevels();
    std::array<QDoubleSpinBox*, 3> factorSpins() const; // xy, x, y

    std::unique_ptr<Ui::ModifierDialog> ui;
    std::array<double, 3> m_loaded{}; // the factors set
    std::array<double, 3> m_shown{};  // how the boxes showed them
};
