#pragma once

#include <QLineEdit>

// A field that captures a key combination: each key press replaces the whole text with the
// combination of the modifiers held and the key, in native key-sequence text ("Alt+X").
// Nothing else edits it. A letter typed under another layout is stored as its Latin key.
class GrabLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit GrabLineEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
