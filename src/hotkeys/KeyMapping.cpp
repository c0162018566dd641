#include "KeyMapping.h"

#include "platform/Platform.h"

#include <QKeySequence>
#include <QStringList>

#include <optional>
#include <vector>

namespace KeyMapping {

namespace {

QHash<QString, int> buildKeyNameTable()
{
    QHash<QString, int> names = {
        {QStringLiteral("Esc"), VK_ESCAPE},
        {QStringLiteral("Tab"), VK_TAB},
        {QStringLiteral("BackTab"), VK_TAB},
        {QStringLiteral("Backtab"), VK_TAB}, // the toolkit's name of Shift+Tab
        {QStringLiteral("Backspace"), VK_BACK},
        {QStringLiteral("Return"), VK_RETURN},
        {QStringLiteral("Enter"), VK_RETURN},
        {QStringLiteral("Ins"), VK_INSERT},
        {QStringLiteral("Del"), VK_DELETE},
        {QStringLiteral("Pause"), VK_PAUSE},
        {QStringLiteral("Print"), VK_PRINT},
        {QStringLiteral("SysReq"), VK_SNAPSHOT},
        {QStringLiteral("Clear"), VK_CLEAR},
        {QStringLiteral("Home"), VK_HOME},
        {QStringLiteral("End"), VK_END},
        {QStringLiteral("Left"), VK_LEFT},
        {QStringLiteral("Up"), VK_UP},
        {QStringLiteral("Right"), VK_RIGHT},
        {QStringLiteral("Down"), VK_DOWN},
        {QStringLiteral("PgUp"), VK_PRIOR},
        {QStringLiteral("PgDown"), VK_NEXT},
        {QStringLiteral("Space"), VK_SPACE},
        {QStringLiteral("Media Next"), VK_MEDIA_NEXT_TRACK},
        {QStringLiteral("Media Previous"), VK_MEDIA_PREV_TRACK},
        {QStringLiteral("Media Play"), VK_MEDIA_PLAY_PAUSE},
        {QStringLiteral("Media Stop"), VK_MEDIA_STOP},
        {QStringLiteral("Volume Down"), VK_VOLUME_DOWN},
        {QStringLiteral("Volume Up"), VK_VOLUME_UP},
        {QStringLiteral("Volume Mute"), VK_VOLUME_MUTE},
    };
    for (int n = 1; n <= 24; ++n)
        names.insert(QStringLiteral("F%1").arg(n), VK_F1 + n - 1);
    return names;
}

// The virtual key that types the character in a layout, if it has one.
std::optional<int> keyInLayout(platform::Platform& system, char16_t character, HKL layout)
{
    const SHORT key = system.vkKeyScanEx(static_cast<WCHAR>(character), layout);
    return key == -1 ? std::nullopt : std::optional<int>(key & 0xFF);
}

// The virtual key of the first installed layout, in the system's order, that has a key
// for the character.
std::optional<int> keyInLayouts(char16_t character)
{
    platform::Platform& system = platform::Platform::current();
    std::vector<HKL> layouts(static_cast<std::size_t>(system.getKeyboardLayoutList(0, nullptr)));
    layouts.resize(static_cast<std::size_t>(
        system.getKeyboardLayoutList(static_cast<int>(layouts.size()), layouts.data())));
    for (HKL layout : layouts) {
        if (const std::optional<int> key = keyInLayout(system, character, layout))
            return key;
    }
    return std::nullopt;
}

bool isAsciiLetterOrDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

int characterKey(QChar character)
{
    const char16_t code = character.unicode();
    if (code > 127) {
        if (const std::optional<int> key = keyInLayouts(code))
            return *key;
        if (const std::optional<int> key = keyInLayouts(character.toLower().unicode()))
            return *key;
        return code;
    }
    // Letters and digits are their own virtual keys. Punctuation is not: "-" is the key
    // VK_OEM_MINUS, not 45. Most layouts have it, each on its own key, so the layout typing
    // now, in which the user pressed the combination, is asked first.
    if (!isAsciiLetterOrDigit(code)) {
        platform::Platform& system = platform::Platform::current();
        if (const std::optional<int> key = keyInLayout(system, code, system.getKeyboardLayout(0)))
            return *key;
        if (const std::optional<int> key = keyInLayouts(code))
            return *key;
    }
    return character.toUpper().unicode();
}

std::optional<int> keypadKey(QChar character)
{
    if (character >= u'0' && character <= u'9')
        return VK_NUMPAD0 + (character.unicode() - u'0');
    switch (character.unicode()) {
    case u'+':
        return VK_ADD;
    case u'.':
        return VK_DECIMAL;
    case u',':
        return VK_SEPARATOR;
    case u'*':
        return VK_MULTIPLY;
    case u'-':
        return VK_SUBTRACT;
    case u'/':
        return VK_DIVIDE;
    default:
        return std::nullopt;
    }
}

} // namespace

const QHash<QString, int>& keyNameTable()
{
    static const QHash<QString, int> table = buildKeyNameTable();
    return table;
}

UINT modifiersOfChord(const QString& chord)
{
    UINT modifiers = 0;
    for (const QString& part : chord.split(u'+')) {
        const QString word = part.trimmed();
        if (word == u"Ctrl")
            modifiers |= MOD_CONTROL;
        else if (word == u"Alt")
            modifiers |= MOD_ALT;
        else if (word == u"Shift")
            modifiers |= MOD_SHIFT;
        else if (word == u"Meta")
            modifiers |= MOD_WIN;
    }
    return modifiers;
}

UINT modifierOfKey(int virtualKey)
{
    switch (virtualKey) {
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        return MOD_CONTROL;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        return MOD_ALT;
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
        return MOD_SHIFT;
    case VK_LWIN:
    case VK_RWIN:
        return MOD_WIN;
    default:
        return 0;
    }
}

int virtualKeyOfChord(const QString& chord, const QHash<QString, int>& keyNames)
{
    const QStringList parts = chord.split(u'+'); // empty parts kept: "Ctrl++" ends in ""
    bool keypad = false;
    for (const QString& part : parts)
        keypad = keypad || part.trimmed() == u"Num";
    const QString key = parts.last().trimmed();
    if (key.isEmpty())
        return VK_ADD;
    if (key.size() == 1) {
        if (keypad) {
            if (const std::optional<int> keypadCode = keypadKey(key.front()))
                return *keypadCode;
        }
        return characterKey(key.front());
    }
    return keyNames.value(key, 0);
}

QString systemIdentity(const QKeySequence& sequence)
{
    QStringList chords;
    for (int chord = 0; chord < sequence.count(); ++chord) {
        const QString text = QKeySequence(sequence[chord]).toString(QKeySequence::NativeText);
        const int virtualKey = virtualKeyOfChord(text, keyNameTable());
        chords << (virtualKey == 0
                       ? text
                       : QStringLiteral("%1:%2").arg(modifiersOfChord(text)).arg(virtualKey));
    }
    return chords.join(u',');
}

} // namespace KeyMapping
