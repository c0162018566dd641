#include "GrabLineEdit.h"

#include "hotkeys/HotkeyCapture.h"
#include "platform/Platform.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QStringList>

GrabLineEdit::GrabLineEdit(QWidget* parent) : QLineEdit(parent)
{
    // Only key presses edit the text: no pasting, dropping or typing through an input method.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

GrabLineEdit::~GrabLineEdit()
{
    HotkeyCapture::instance().end(this);
}

QString GrabLineEdit::combinationText(Qt::KeyboardModifiers modifiers, int key, unsigned virtualKey)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L: // the Meta key as X reports it
    case Qt::Key_Super_R:
    case Qt::Key_unknown:
    case 0:
        return {};
    default:
        break;
    }
    // The layout switch is no part of a combination; the keypad flag is: it names another key.
    modifiers &= ~Qt::GroupSwitchModifier;
    QString text =
        QKeySequence(QKeyCombination(modifiers, Qt::Key(key))).toString(QKeySequence::NativeText);
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        QStringList parts = text.split(QLatin1Char('+'));
        for (QString& part : parts)
            part = part.trimmed();
        parts.last() = QChar(char16_t(virtualKey));
        text = parts.join(QLatin1Char('+'));
    }
    return text;
}

bool GrabLineEdit::event(QEvent* event)
{
    // Tab and Shift+Tab are combinations like any other here, not a move of the focus.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QLineEdit::event(event);
}

void GrabLineEdit::keyPressEvent(QKeyEvent* event)
{
    const unsigned virtualKey = platform::Platform::current().virtualKeyOfKeyEvent(
        event->nativeScanCode(), event->nativeVirtualKey());
    const QString text = combinationText(event->modifiers(), event->key(), virtualKey);
    if (!text.isEmpty())
        setText(text);
    event->accept();
}

void GrabLineEdit::focusInEvent(QFocusEvent* event)
{
    HotkeyCapture::instance().begin(this, [this](const QKeySequence& combination) {
        setText(combination.toString(QKeySequence::NativeText));
    });
    QLineEdit::focusInEvent(event);
}

void GrabLineEdit::focusOutEvent(QFocusEvent* event)
{
    HotkeyCapture::instance().end(this);
    QLineEdit::focusOutEvent(event);
}
