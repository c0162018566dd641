#include "SimulatedPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>

namespace platform {

namespace {

// Set-1 scan codes of the main keyboard block and the keypad, by code, to virtual keys,
// so that scan-code records change the key state as they do on Windows.
constexpr std::array<std::uint8_t, 0x59> kScanCodeToVirtualKey = {
    0,          VK_ESCAPE,   '1',        '2',      '3',           '4',         '5',
    '6',        '7',         '8',        '9',      '0',           VK_OEM_MINUS, VK_OEM_PLUS,
    VK_BACK,    VK_TAB,      'Q',        'W',      'E',           'R',         'T',
    'Y',        'U',         'I',        'O',      'P',           VK_OEM_4,    VK_OEM_6,
    VK_RETURN,  VK_LCONTROL, 'A',        'S',      'D',           'F',         'G',
    'H',        'J',         'K',        'L',      VK_OEM_1,      VK_OEM_7,    VK_OEM_3,
    VK_LSHIFT,  VK_OEM_5,    'Z',        'X',      'C',           'V',         'B',
    'N',        'M',         VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2, VK_RSHIFT, VK_MULTIPLY,
    VK_LMENU,   VK_SPACE,    VK_CAPITAL, VK_F1,    VK_F2,         VK_F3,       VK_F4,
    VK_F5,      VK_F6,       VK_F7,      VK_F8,    VK_F9,         VK_F10,      VK_NUMLOCK,
    VK_SCROLL,  VK_NUMPAD7,  VK_NUMPAD8, VK_NUMPAD9, VK_SUBTRACT,  VK_NUMPAD4,  VK_NUMPAD5,
    VK_NUMPAD6, VK_ADD,      VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3,  VK_NUMPAD0,  VK_DECIMAL,
    0,          0,           VK_OEM_102, VK_F11,   VK_F12,
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

LONG clampValue(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return static_cast<LONG>(std::clamp(value, low, high));
}

} // namespace

SimulatedPlatform::SimulatedPlatform() : m_screens{{0, 0, 1920, 1080}} {}

UINT SimulatedPlatform::sendInput(UINT count, const INPUT* inputs, int recordSize)
{
    if (recordSize != static_cast<int>(sizeof(INPUT)) || inputs == nullptr)
        return 0;
    std::lock_guard lock(m_mutex);
    for (UINT i = 0; i < count; ++i) {
        const INPUT& record = inputs[i];
        if (record.type == INPUT_MOUSE)
            applyMouseRecord(record.mi);
        else if (record.type == INPUT_KEYBOARD)
            applyKeyboardRecord(record.ki);
        if (m_records.size() == kRecordHistory)
            m_records.pop_front();
        m_records.push_back(record);
    }
    return count;
}

void SimulatedPlatform::applyMouseRecord(const MOUSEINPUT& mouse)
{
    if (mouse.dwFlags & MOUSEEVENTF_MOVE) {
        if (mouse.dwFlags & MOUSEEVENTF_ABSOLUTE) {
            // The 0..65535 range spans the primary screen, or the virtual desktop.
            const Screen area = (mouse.dwFlags & MOUSEEVENTF_VIRTUALDESK) ? virtualDesktop()
                                                                          : m_screens.front();
            auto toPixel = [](LONG normalised, LONG extent) {
                const std::int64_t span = extent >= 2 ? extent - 1 : 1;
                return clampValue((std::int64_t{normalised} * span + 32767) / 65535, 0, span);
            };
            moveCursorTo(area.left + toPixel(mouse.dx, area.width),
                         area.top + toPixel(mouse.dy, area.height));
        } else {
            moveCursorTo(clampValue(std::int64_t{m_cursor.x} + mouse.dx,
                                    std::numeric_limits<LONG>::min(),
                                    std::numeric_limits<LONG>::max()),
                         clampValue(std::int64_t{m_cursor.y} + mouse.dy,
                                    std::numeric_limits<LONG>::min(),
                                    std::numeric_limits<LONG>::max()));
        }
    }
    const DWORD flags = mouse.dwFlags;
    if (flags & MOUSEEVENTF_LEFTDOWN)
        changeKey(VK_LBUTTON, true);
    if (flags & MOUSEEVENTF_LEFTUP)
        changeKey(VK_LBUTTON, false);
    if (flags & MOUSEEVENTF_RIGHTDOWN)
        changeKey(VK_RBUTTON, true);
    if (flags & MOUSEEVENTF_RIGHTUP)
        changeKey(VK_RBUTTON, false);
    if (flags & MOUSEEVENTF_MIDDLEDOWN)
        changeKey(VK_MBUTTON, true);
    if (flags & MOUSEEVENTF_MIDDLEUP)
        changeKey(VK_MBUTTON, false);
    if (flags & (MOUSEEVENTF_XDOWN | MOUSEEVENTF_XUP)) {
        const bool down = flags & MOUSEEVENTF_XDOWN;
        if (mouse.mouseData & XBUTTON1)
            changeKey(VK_XBUTTON1, down);
        if (mouse.mouseData & XBUTTON2)
            changeKey(VK_XBUTTON2, down);
    }
}

void SimulatedPlatform::applyKeyboardRecord(const KEYBDINPUT& keyboard)
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

void SimulatedPlatform::changeKey(int virtualKey, bool down)
{
    if (virtualKey <= 0 || virtualKey > 0xFF)
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

void SimulatedPlatform::moveCursorTo(LONG x, LONG y)
{
    // Windows keeps the cursor on the screens: a point off every screen goes to the
    // nearest point of the nearest screen.
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    POINT best{x, y};
    for (const Screen& screen : m_screens) {
        const LONG cx = clampValue(x, screen.left, std::int64_t{screen.left} + screen.width - 1);
        const LONG cy = clampValue(y, screen.top, std::int64_t{screen.top} + screen.height - 1);
        const std::int64_t ddx = std::int64_t{cx} - x;
        const std::int64_t ddy = std::int64_t{cy} - y;
        const std::int64_t distance = ddx * ddx + ddy * ddy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = {cx, cy};
        }
    }
    m_cursor = best;
}

SimulatedPlatform::Screen SimulatedPlatform::virtualDesktop() const
{
    std::int64_t left = m_screens.front().left, top = m_screens.front().top;
    std::int64_t right = left + m_screens.front().width;
    std::int64_t bottom = top + m_screens.front().height;
    for (const Screen& screen : m_screens) {
        left = std::min<std::int64_t>(left, screen.left);
        top = std::min<std::int64_t>(top, screen.top);
        right = std::max<std::int64_t>(right, std::int64_t{screen.left} + screen.width);
        bottom = std::max<std::int64_t>(bottom, std::int64_t{screen.top} + screen.height);
    }
    return {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right - left),
            static_cast<LONG>(bottom - top)};
}

bool SimulatedPlatform::getCursorPos(POINT& point)
{
    std::lock_guard lock(m_mutex);
    point = m_cursor;
    return true;
}

int SimulatedPlatform::getSystemMetrics(int index)
{
    std::lock_guard lock(m_mutex);
    switch (index) {
    case SM_CXSCREEN:
        return m_screens.front().width;
    case SM_CYSCREEN:
        return m_screens.front().height;
    case SM_XVIRTUALSCREEN:
        return virtualDesktop().left;
    case SM_YVIRTUALSCREEN:
        return virtualDesktop().top;
    case SM_CXVIRTUALSCREEN:
        return virtualDesktop().width;
    case SM_CYVIRTUALSCREEN:
        return virtualDesktop().height;
    case SM_CMONITORS:
        return static_cast<int>(m_screens.size());
    default:
        return 0;
    }
}

SHORT SimulatedPlatform::getAsyncKeyState(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey > 0xFF)
        return 0;
    std::lock_guard lock(m_mutex);
    return m_keys[static_cast<std::size_t>(virtualKey)].down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT SimulatedPlatform::getKeyState(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey > 0xFF)
        return 0;
    std::lock_guard lock(m_mutex);
    const KeyState& key = m_keys[static_cast<std::size_t>(virtualKey)];
    return static_cast<SHORT>((key.down ? 0x8000 : 0) | (key.toggled ? 1 : 0));
}

LONGLONG SimulatedPlatform::queryPerformanceCounter()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

LONGLONG SimulatedPlatform::queryPerformanceFrequency()
{
    return 1'000'000'000;
}

void SimulatedPlatform::setScreens(std::vector<Screen> screens)
{
    if (screens.empty())
        return;
    std::lock_guard lock(m_mutex);
    m_screens = std::move(screens);
    moveCursorTo(m_cursor.x, m_cursor.y);
}

void SimulatedPlatform::setCursorPos(POINT point)
{
    std::lock_guard lock(m_mutex);
    moveCursorTo(point.x, point.y);
}

void SimulatedPlatform::setKeyDown(int virtualKey, bool down)
{
    std::lock_guard lock(m_mutex);
    changeKey(virtualKey, down);
}

void SimulatedPlatform::setKeyToggled(int virtualKey, bool toggled)
{
    if (virtualKey <= 0 || virtualKey > 0xFF)
        return;
    std::lock_guard lock(m_mutex);
    m_keys[static_cast<std::size_t>(virtualKey)].toggled = toggled;
}

std::vector<INPUT> SimulatedPlatform::takeSentRecords()
{
    std::lock_guard lock(m_mutex);
    std::vector<INPUT> records(m_records.begin(), m_records.end());
    m_records.clear();
    return records;
}

} // namespace platform
