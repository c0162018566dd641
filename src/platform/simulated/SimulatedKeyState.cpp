#include "SimulatedKeyState.h"

#include <cstddef>
#include <cstdint>

namespace platform {

namespace {

// Set-1 scan codes of the main keyboard block and the keypad, by code, to virtual keys,
// so that scan-code records change the key state as they do on Windows.
constexpr std::array<std::uint8_t, 0x59> kScanCodeToVirtualKey = {
    0,          VK_ESCAPE,   '1',          '2',           '3',         '4',          '5',
    '6',        '7',         '8',          '9',           '0',         VK_OEM_MINUS, VK_OEM_PLUS,
    VK_BACK,    VK_TAB,      'Q',          'W',           'E',         'R',          'T',
    'Y',        'U',         'I',          'O',           'P',         VK_OEM_4,     VK_OEM_6,
    VK_RETURN,  VK_LCONTROL, 'A',          'S',           'D',         'F',          'G',
    'H',        'J',         'K',          'L',           VK_OEM_1,    VK_OEM_7,     VK_OEM_3,
    VK_LSHIFT,  VK_OEM_5,    'Z',          'X',           'C',         'V',          'B',
    'N',        'M',         VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2,    VK_RSHIFT,    VK_MULTIPLY,
    VK_LMENU,   VK_SPACE,    VK_CAPITAL,   VK_F1,         VK_F2,       VK_F3,        VK_F4,
    VK_F5,      VK_F6,       VK_F7,        VK_F8,         VK_F9,       VK_F10,       VK_NUMLOCK,
    VK_SCROLL,  VK_NUMPAD7,  VK_NUMPAD8,   VK_NUMPAD9,    VK_SUBTRACT, VK_NUMPAD4,   VK_NUMPAD5,
    VK_NUMPAD6, VK_ADD,      VK_NUMPAD1,   VK_NUMPAD2,    VK_NUMPAD3,  VK_NUMPAD0,   VK_DECIMAL,
    0,          0,           VK_OEM_102,   VK_F11,        VK_F12,
};

// The left and right keys whose state makes up the state of a generic modifier.
struct ModifierPair
{
    int generic;
    int left;
    int right;
};
constexpr std::array<ModifierPair, 3> kModifierPairs = {{
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
    {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
    {VK_MENU, VK_LMENU, VK_RMENU},
}};

bool isKey(int virtualKey)
{
    return virtualKey > 0 && virtualKey <= 0xFF;
}

} // namespace

void SimulatedKeyState::changeKey(int virtualKey, bool down)
{
    if (!isKey(virtualKey))
        return;
    KeyState& key = m_keys[static_cast<std::size_t>(virtualKey)];
    if (down && !key.down)
        key.toggled = !key.toggled;
    key.down = down;
    for (const ModifierPair& pair : kModifierPairs) {
        if (virtualKey == pair.left || virtualKey == pair.right) {
            const bool anyDown = m_keys[static_cast<std::size_t>(pair.left)].down ||
                                 m_keys[static_cast<std::size_t>(pair.right)].down;
            KeyState& generic = m_keys[static_cast<std::size_t>(pair.generic)];
            if (anyDown && !generic.down)
                generic.toggled = !generic.toggled;
            generic.down = anyDown;
        }
    }
}

void SimulatedKeyState::applyKeyboardRecord(const KEYBDINPUT& keyboard)
{
    if (keyboard.dwFlags & KEYEVENTF_UNICODE)
        return; // a typed character, not a key
    int virtualKey = keyboard.wVk;
    if (keyboard.dwFlags & KEYEVENTF_SCANCODE)
        virtualKey = keyboard.wScan < kScanCodeToVirtualKey.size()
                         ? kScanCodeToVirtualKey[keyboard.wScan]
                         : 0;
    if (virtualKey != 0)
        changeKey(virtualKey, !(keyboard.dwFlags & KEYEVENTF_KEYUP));
}

void SimulatedKeyState::setKeyToggled(int virtualKey, bool toggled)
{
    if (isKey(virtualKey))
        m_keys[static_cast<std::size_t>(virtualKey)].toggled = toggled;
}

SHORT SimulatedKeyState::getAsyncKeyState(int virtualKey) const
{
    if (!isKey(virtualKey))
        return 0;
    return m_keys[static_cast<std::size_t>(virtualKey)].down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT SimulatedKeyState::getKeyState(int virtualKey) const
{
    if (!isKey(virtualKey))
        return 0;
    const KeyState& key = m_keys[static_cast<std::size_t>(virtualKey)];
    return static_cast<SHORT>((key.down ? 0x8000 : 0) | (key.toggled ? 1 : 0));
}

} // namespace platform
