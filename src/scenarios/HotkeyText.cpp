#include "HotkeyText.h"

namespace HotkeyText {

QKeySequence sequenceOf(const QString& nativeText)
{
    return QKeySequence::fromString(nativeText, QKeySequence::NativeText);
}

QString shown(const QString& text)
{
    const QString native = sequenceOf(text).toString(QKeySequence::NativeText);
    return native.isEmpty() ? text.trimmed() : native;
}

} // namespace HotkeyText
