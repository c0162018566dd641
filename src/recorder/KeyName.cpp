#include "KeyName.h"

#include "hotkeys/KeyMapping.h"
#include "platform/WinApi.h"

#include <QHash>

namespace {

QHash<int, QString> buildNames()
{
    QHash<int, QString> names = {
        {VK_SHIFT, QStringLiteral("Shift")},
        {VK_CONTROL, QStringLiteral("Ctrl")},
        {VK_MENU, QStringLiteral("Alt")},
        {VK_LSHIFT, QStringLiteral("Left Shift")},
        {VK_RSHIFT, QStringLiteral("Right Shift")},
        {VK_LCONTROL, QStringLiteral("Left Ctrl")},
        {VK_RCONTROL, QStringLiteral("Right Ctrl")},
        {VK_LMENU, QStringLiteral("Left Alt")},
        {VK_RMENU, QStringLiteral("Right Alt")},
        {VK_LWIN, QStringLiteral("Left Win")},
        {VK_RWIN, QStringLiteral("Right Win")},
        {VK_APPS, QStringLiteral("Menu")},
        {VK_CAPITAL, QStringLiteral("Caps Lock")},
        {VK_NUMLOCK, QStringLiteral("Num Lock")},
        {VK_SCROLL, QStringLiteral("Scroll Lock")},
        {VK_SNAPSHOT, QStringLiteral("Print Screen")},
        {VK_MULTIPLY, QStringLiteral("Num *")},
        {VK_ADD, QStringLiteral("Num +")},
        {VK_SUBTRACT, QStringLiteral("Num -")},
        {VK_DECIMAL, QStringLiteral("Num .")},
        {VK_DIVIDE, QStringLiteral("Num /")},
        {VK_OEM_1, QStringLiteral(";")},
        {VK_OEM_PLUS, QStringLiteral("=")},
        {VK_OEM_COMMA, QStringLiteral(",")},
        {VK_OEM_MINUS, QStringLiteral("-")},
        {VK_OEM_PERIOD, QStringLiteral(".")},
        {VK_OEM_2, QStringLiteral("/")},
        {VK_OEM_3, QStringLiteral("`")},
        {VK_OEM_4, QStringLiteral("[")},
        {VK_OEM_5, QStringLiteral("\\")},
        {VK_OEM_6, QStringLiteral("]")},
        {VK_OEM_7, QStringLiteral("'")},
        {VK_OEM_102, QStringLiteral("\\ (102nd key)")},
    };
    for (int digit = 0; digit <= 9; ++digit)
        names.insert(VK_NUMPAD0 + digit, QStringLiteral("Num %1").arg(digit));
    // The hotkey texts' names for the other keys, the shortest where a key has several
    // ("Enter", not "Return").
    QHash<int, QString> hotkeyNames;
    const QHash<QString, int>& table = KeyMapping::keyNameTable();
    for (auto entry = table.cbegin(); entry != table.cend(); ++entry) {
        const QString known = hotkeyNames.value(entry.value());
        const QString& name = entry.key();
        if (known.isEmpty() || name.size() < known.size() ||
            (name.size() == known.size() && name < known))
            hotkeyNames.insert(entry.value(), name);
    }
    for (auto entry = hotkeyNames.cbegin(); entry != hotkeyNames.cend(); ++entry) {
        if (!names.contains(entry.key()))
            names.insert(entry.key(), entry.value());
    }
    return names;
}

} // namespace

QString KeyName::of(int virtualKey)
{
    static const QHash<int, QString> names = buildNames();
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return QString(QChar(virtualKey));
    return names.value(virtualKey);
}
