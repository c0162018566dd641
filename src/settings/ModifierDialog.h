#pragma once

#include "library/MovementModifiers.h"

#include <QDialog>

#include <memory>

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
    // The values shown; the level is that of the selected item.
    MovementModifiers modifiers() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fillLevels();

    std::unique_ptr<Ui::ModifierDialog> ui;
};
