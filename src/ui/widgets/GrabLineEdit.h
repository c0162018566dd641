#pragma once

#include <QLineEdit>

// A field that captures a key combination: every key press replaces its whole text with the
// combination of the held modifiers and the key, in the toolkit's native key-sequence text
// ("Alt+X"). A letter key is written as its Latin letter whatever the keyboard layout, so
// that the combination names the physical key. Nothing but a key press edits the text.
// While the field has the focus it captures: the program's own hotkeys hand it their
// combinations instead of acting on them.
class GrabLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit GrabLineEdit(QWidget* parent = nullptr);
    ~GrabLineEdit() override;

    // The text a key press gives: empty for a modifier key alone. `virtualKey` is the
    // pressed key's virtual key (0 when unknown); a Latin letter A to Z replaces the key part.
    static QString combinationText(Qt::KeyboardModifiers modifiers, int key, unsigned virtualKey);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
