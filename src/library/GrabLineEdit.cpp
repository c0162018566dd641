#include "GrabLineEdit.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QStringList>

namespace {

// The Latin capital of a key's native virtual key (Windows) or key symbol (X11), when it is
// a letter A to Z; a null character otherwise.
QChar latinLetterOf(quint32 nativeKey)
{
    if (nativeKey >= 'A' && nativeKey <= 'Z')
        return QChar(char16_t(nativeKey));
    if (nativeKey >= 'a' && nativeKey <= 'z')
        return QChar(char16_t(nativeKey - 'a' + 'A'));
    return {};
}

} // namespace

GrabLineEdit::GrabLineEdit(QWidget* parent) : QLineEdit(parent) {}

void GrabLineEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
        event->accept();
        return;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                              Qt::MetaModifier | Qt::KeypadModifier);
    QString text = QKeySequence(QKeyCombination(modifiers, Qt::Key(event->key())))
                       .toString(QKeySequence::NativeText);
    if (const QChar letter = latinLetterOf(event->nativeVirtualKey()); !letter.isNull()) {
        QStringList parts = text.split(u'+');
        for (QString& part : parts)
            part = part.trimmed();
        parts.last() = letter;
        text = parts.join(u'+');
    }
    setText(text);
    event->accept();
}
