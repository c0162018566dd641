#include "X11Keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <iterator>
#include <string_view>

namespace platform::X11Keys {

namespace {

struct KeysymOfKey
{
    int virtualKey;
    unsigned long keysym;
};

// Keys whose keysym is not their own code (letters and digits are handled apart). The
// generic modifiers stand for their left key.
constexpr KeysymOfKey kKeysyms[] = {
    {VK_BACK, XK_BackSpace},
    {VK_TAB, XK_Tab},
    {VK_CLEAR, XK_Clear},
    {VK_RETURN, XK_Return},
    {VK_SHIFT, XK_Shift_L},
    {VK_CONTROL, XK_Control_L},
    {VK_MENU, XK_Alt_L},
    {VK_PAUSE, XK_Pause},
    {VK_CAPITAL, XK_Caps_Lock},
    {VK_ESCAPE, XK_Escape},
    {VK_SPACE, XK_space},
    {VK_PRIOR, XK_Prior},
    {VK_NEXT, XK_Next},
    {VK_END, XK_End},
    {VK_HOME, XK_Home},
    {VK_LEFT, XK_Left},
    {VK_UP, XK_Up},
    {VK_RIGHT, XK_Right},
    {VK_DOWN, XK_Down},
    {VK_SELECT, XK_Select},
    // The hotkeys call the Print key VK_PRINT; on X both name the Print Screen key.
    {VK_PRINT, XK_Print},
    {VK_EXECUTE, XK_Execute},
    {VK_SNAPSHOT, XK_Print},
    {VK_INSERT, XK_Insert},
    {VK_DELETE, XK_Delete},
    {VK_HELP, XK_Help},
    {VK_LWIN, XK_Super_L},
    {VK_RWIN, XK_Super_R},
    {VK_APPS, XK_Menu},
    {VK_MULTIPLY, XK_KP_Multiply},
    {VK_ADD, XK_KP_Add},
    {VK_SEPARATOR, XK_KP_Separator},
    {VK_SUBTRACT, XK_KP_Subtract},
    {VK_DECIMAL, XK_KP_Decimal},
    {VK_DIVIDE, XK_KP_Divide},
    {VK_NUMLOCK, XK_Num_Lock},
    {VK_SCROLL, XK_Scroll_Lock},
    {VK_LSHIFT, XK_Shift_L},
    {VK_RSHIFT, XK_Shift_R},
    {VK_LCONTROL, XK_Control_L},
    {VK_RCONTROL, XK_Control_R},
    {VK_LMENU, XK_Alt_L},
    {VK_RMENU, XK_Alt_R},
    {VK_BROWSER_BACK, XF86XK_Back},
    {VK_BROWSER_FORWARD, XF86XK_Forward},
    {VK_BROWSER_REFRESH, XF86XK_Refresh},
    {VK_BROWSER_STOP, XF86XK_Stop},
    {VK_BROWSER_SEARCH, XF86XK_Search},
    {VK_BROWSER_FAVORITES, XF86XK_Favorites},
    {VK_BROWSER_HOME, XF86XK_HomePage},
    {VK_VOLUME_MUTE, XF86XK_AudioMute},
    {VK_VOLUME_DOWN, XF86XK_AudioLowerVolume},
    {VK_VOLUME_UP, XF86XK_AudioRaiseVolume},
    {VK_MEDIA_NEXT_TRACK, XF86XK_AudioNext},
    {VK_MEDIA_PREV_TRACK, XF86XK_AudioPrev},
    {VK_MEDIA_STOP, XF86XK_AudioStop},
    {VK_MEDIA_PLAY_PAUSE, XF86XK_AudioPlay},
    {VK_OEM_1, XK_semicolon},
    {VK_OEM_PLUS, XK_equal},
    {VK_OEM_COMMA, XK_comma},
    {VK_OEM_MINUS, XK_minus},
    {VK_OEM_PERIOD, XK_period},
    {VK_OEM_2, XK_slash},
    {VK_OEM_3, XK_grave},
    {VK_OEM_4, XK_bracketleft},
    {VK_OEM_5, XK_backslash},
    {VK_OEM_6, XK_bracketright},
    {VK_OEM_7, XK_apostrophe},
    {VK_OEM_102, XK_less},
};

struct PhysicalKey
{
    int inputCode;
    int virtualKey;
};

// The keys of a US keyboard: Linux input code and virtual key. Letters and digits follow
// the rows; the rest are listed.
constexpr std::string_view kLetterRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr int kLetterRowStart[] = {16, 30, 44};

constexpr PhysicalKey kPhysicalKeys[] = {
    {1, VK_ESCAPE},
    {12, VK_OEM_MINUS},
    {13, VK_OEM_PLUS},
    {14, VK_BACK},
    {15, VK_TAB},
    {26, VK_OEM_4},
    {27, VK_OEM_6},
    {28, VK_RETURN},
    {29, VK_LCONTROL},
    {39, VK_OEM_1},
    {40, VK_OEM_7},
    {41, VK_OEM_3},
    {42, VK_LSHIFT},
    {43, VK_OEM_5},
    {51, VK_OEM_COMMA},
    {52, VK_OEM_PERIOD},
    {53, VK_OEM_2},
    {54, VK_RSHIFT},
    {55, VK_MULTIPLY},
    {56, VK_LMENU},
    {57, VK_SPACE},
    {58, VK_CAPITAL},
    {59, VK_F1},
    {60, VK_F2},
    {61, VK_F3},
    {62, VK_F4},
    {63, VK_F5},
    {64, VK_F6},
    {65, VK_F7},
    {66, VK_F8},
    {67, VK_F9},
    {68, VK_F10},
    {69, VK_NUMLOCK},
    {70, VK_SCROLL},
    {71, VK_NUMPAD7},
    {72, VK_NUMPAD8},
    {73, VK_NUMPAD9},
    {74, VK_SUBTRACT},
    {75, VK_NUMPAD4},
    {76, VK_NUMPAD5},
    {77, VK_NUMPAD6},
    {78, VK_ADD},
    {79, VK_NUMPAD1},
    {80, VK_NUMPAD2},
    {81, VK_NUMPAD3},
    {82, VK_NUMPAD0},
    {83, VK_DECIMAL},
    {86, VK_OEM_102},
    {87, VK_F11},
    {88, VK_F12},
    {97, VK_RCONTROL},
    {98, VK_DIVIDE},
    {99, VK_SNAPSHOT},
    {100, VK_RMENU},
    {102, VK_HOME},
    {103, VK_UP},
    {104, VK_PRIOR},
    {105, VK_LEFT},
    {106, VK_RIGHT},
    {107, VK_END},
    {108, VK_DOWN},
    {109, VK_NEXT},
    {110, VK_INSERT},
    {111, VK_DELETE},
    {113, VK_VOLUME_MUTE},
    {114, VK_VOLUME_DOWN},
    {115, VK_VOLUME_UP},
    {119, VK_PAUSE},
    {125, VK_LWIN},
    {126, VK_RWIN},
    {127, VK_APPS},
    {163, VK_MEDIA_NEXT_TRACK},
    {164, VK_MEDIA_PLAY_PAUSE},
    {165, VK_MEDIA_PREV_TRACK},
    {166, VK_MEDIA_STOP},
    {183, VK_F13},
    {184, VK_F14},
    {185, VK_F15},
    {186, VK_F16},
    {187, VK_F17},
    {188, VK_F18},
    {189, VK_F19},
    {190, VK_F20},
    {191, VK_F21},
    {192, VK_F22},
    {193, VK_F23},
    {194, VK_F24},
    {96, VK_RETURN}, // the keypad's Enter
};

// Set-1 codes after the 0xE0 prefix and the Linux input codes of their keys.
struct ExtendedScanCode
{
    WORD scanCode;
    int inputCode;
};
constexpr ExtendedScanCode kExtendedScanCodes[] = {
    {0x10, 165}, {0x19, 163}, {0x1C, 96},  {0x1D, 97},  {0x20, 113}, {0x22, 164}, {0x24, 166},
    {0x2E, 114}, {0x30, 115}, {0x35, 98},  {0x37, 99},  {0x38, 100}, {0x47, 102}, {0x48, 103},
    {0x49, 104}, {0x4B, 105}, {0x4D, 106}, {0x4F, 107}, {0x50, 108}, {0x51, 109}, {0x52, 110},
    {0x53, 111}, {0x5B, 125}, {0x5C, 126}, {0x5D, 127},
};

// The Cyrillic keysyms 0x6a1..0x6ff in order (the lower half follows KOI8-R's order).
constexpr std::u16string_view kCyrillic = u"ђѓёєѕіїјљњћќґўџ№ЂЃЁЄЅІЇЈЉЊЋЌҐЎЏ"
                                          u"юабцдефгхийклмнопярстужвьызшэщчъ"
                                          u"ЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";
constexpr unsigned long kFirstCyrillicKeysym = 0x6a1;

// Characters typed by a key rather than a symbol.
struct TypingKey
{
    char16_t character;
    unsigned long keysym;
};
constexpr TypingKey kTypingKeys[] = {
    {u'\b', XK_BackSpace}, {u'\t', XK_Tab},      {u'\n', XK_Return},
    {u'\r', XK_Return},    {u'\x1b', XK_Escape},
};

constexpr unsigned long kUnicodeKeysymBase = 0x01000000;

} // namespace

unsigned long keysymOfVirtualKey(int virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return XK_a + static_cast<unsigned long>(virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9')
        return XK_0 + static_cast<unsigned long>(virtualKey - '0');
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
        return XK_KP_0 + static_cast<unsigned long>(virtualKey - VK_NUMPAD0);
    if (virtualKey >= VK_F1 && virtualKey <= VK_F24)
        return XK_F1 + static_cast<unsigned long>(virtualKey - VK_F1);
    for (const KeysymOfKey& entry : kKeysyms) {
        if (entry.virtualKey == virtualKey)
            return entry.keysym;
    }
    return 0;
}

int inputCodeOfVirtualKey(int virtualKey)
{
    switch (virtualKey) {
    case VK_SHIFT:
        return 42;
    case VK_CONTROL:
        return 29;
    case VK_MENU:
        return 56;
    default:
        break;
    }
    if (virtualKey >= '1' && virtualKey <= '9')
        return 2 + (virtualKey - '1');
    if (virtualKey == '0')
        return 11;
    for (std::size_t row = 0;
         virtualKey >= 'A' && virtualKey <= 'Z' && row < std::size(kLetterRows); ++row) {
        if (const auto at = kLetterRows[row].find(static_cast<char>(virtualKey));
            at != std::string_view::npos)
            return kLetterRowStart[row] + static_cast<int>(at);
    }
    for (const PhysicalKey& key : kPhysicalKeys) {
        if (key.virtualKey == virtualKey)
            return key.inputCode;
    }
    return 0;
}

int virtualKeyOfInputCode(int inputCode)
{
    if (inputCode >= 2 && inputCode <= 10)
        return '1' + (inputCode - 2);
    if (inputCode == 11)
        return '0';
    for (std::size_t row = 0; row < std::size(kLetterRows); ++row) {
        const int at = inputCode - kLetterRowStart[row];
        if (at >= 0 && at < static_cast<int>(kLetterRows[row].size()))
            return kLetterRows[row][static_cast<std::size_t>(at)];
    }
    for (const PhysicalKey& key : kPhysicalKeys) {
        if (key.inputCode == inputCode)
            return key.virtualKey;
    }
    return 0;
}

int inputCodeOfScanCode(WORD scanCode, bool extended)
{
    if ((scanCode & 0xFF00) == 0xE000)
        extended = true;
    else if (scanCode & 0xFF00)
        return 0;
    const WORD code = scanCode & 0xFF;
    if (extended) {
        for (const ExtendedScanCode& entry : kExtendedScanCodes) {
            if (entry.scanCode == code)
                return entry.inputCode;
        }
        return 0;
    }
    // The main block, the keypad and F11, F12 keep their set-1 codes as input codes; the
    // F13 to F23 keys sit higher in both.
    if (code >= 0x01 && code <= 0x58 && code != 0x54 && code != 0x55)
        return code;
    if (code == 0x54)
        return 99; // Alt+Print Screen
    if (code >= 0x64 && code <= 0x6E)
        return 183 + (code - 0x64);
    return 0;
}

WORD scanCodeOfInputCode(int inputCode)
{
    for (const ExtendedScanCode& entry : kExtendedScanCodes) {
        if (entry.inputCode == inputCode)
            return static_cast<WORD>(0xE000 | entry.scanCode);
    }
    if (inputCode >= 0x01 && inputCode <= 0x58 && inputCode != 0x54 && inputCode != 0x55)
        return static_cast<WORD>(inputCode);
    if (inputCode >= 183 && inputCode <= 193)
        return static_cast<WORD>(0x64 + (inputCode - 183));
    return 0;
}

unsigned long keysymOfCharacter(char16_t character)
{
    for (const TypingKey& key : kTypingKeys) {
        if (key.character == character)
            return key.keysym;
    }
    if ((character >= 0x20 && character <= 0x7E) || (character >= 0xA0 && character <= 0xFF))
        return character;
    if (const auto at = kCyrillic.find(character); at != std::u16string_view::npos)
        return kFirstCyrillicKeysym + at;
    if (character < 0x20 || (character >= 0x7F && character < 0xA0) ||
        (character >= 0xD800 && character <= 0xDFFF))
        return 0; // control characters and halves of surrogate pairs type nothing
    return kUnicodeKeysymBase + character;
}

char16_t characterOfKeysym(unsigned long keysym)
{
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
        return static_cast<char16_t>(keysym);
    if (keysym >= kFirstCyrillicKeysym && keysym < kFirstCyrillicKeysym + kCyrillic.size())
        return kCyrillic[keysym - kFirstCyrillicKeysym];
    if (keysym >= kUnicodeKeysymBase + 0xA0 && keysym <= kUnicodeKeysymBase + 0xFFFF)
        return static_cast<char16_t>(keysym - kUnicodeKeysymBase);
    return 0;
}

} // namespace platform::X11Keys
