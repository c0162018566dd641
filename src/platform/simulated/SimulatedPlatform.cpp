#include "SimulatedPlatform.h"

#include "../MonotonicClock.h"
#include "../SystemMessages.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <string_view>

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

// Whether a hotkey is registered for a combination; MOD_NOREPEAT does not make another one.
bool isCombination(const SimulatedPlatform::HotKey& hotKey, UINT modifiers, UINT virtualKey)
{
    return (hotKey.modifiers & ~MOD_NOREPEAT) == (modifiers & ~MOD_NOREPEAT) &&
           hotKey.virtualKey == virtualKey;
}

// Milliseconds of the system's clock, the time stamp of messages and hook events.
DWORD tickCount()
{
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count());
}

// GetLastError is kept per thread, as on Windows.
thread_local DWORD lastError = ERROR_SUCCESS;

BOOL fail(DWORD error)
{
    lastError = error;
    return 0;
}

// The four rows of character keys, left to right, as virtual keys, and the characters
// they type in a layout without and with Shift.
constexpr std::array<std::array<BYTE, 13>, 4> kRowKeys = {{
    {VK_OEM_3, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS},
    {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', VK_OEM_4, VK_OEM_6, VK_OEM_5},
    {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', VK_OEM_1, VK_OEM_7},
    {'Z', 'X', 'C', 'V', 'B', 'N', 'M', VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2},
}};

struct KeyboardLayout
{
    std::array<std::u16string_view, 4> plain;
    std::array<std::u16string_view, 4> shifted;
};

constexpr KeyboardLayout kEnglishKeys = {
    {u"`1234567890-=", u"qwertyuiop[]\\", u"asdfghjkl;'", u"zxcvbnm,./"},
    {u"~!@#$%^&*()_+", u"QWERTYUIOP{}|", u"ASDFGHJKL:\"", u"ZXCVBNM<>?"},
};
constexpr KeyboardLayout kRussianKeys = {
    {u"ё1234567890-=", u"йцукенгшщзхъ\\", u"фывапролджэ", u"ячсмитьбю."},
    {u"Ё!\"№;%:?*()_+", u"ЙЦУКЕНГШЩЗХЪ/", u"ФЫВАПРОЛДЖЭ", u"ЯЧСМИТЬБЮ,"},
};

SHORT keyOf(const KeyboardLayout& layout, char16_t character)
{
    if (character == u' ')
        return VK_SPACE;
    for (std::size_t row = 0; row < kRowKeys.size(); ++row) {
        if (const auto at = layout.plain[row].find(character); at != std::u16string_view::npos)
            return kRowKeys[row][at];
        if (const auto at = layout.shifted[row].find(character); at != std::u16string_view::npos)
            return static_cast<SHORT>(0x0100 | kRowKeys[row][at]);
    }
    return -1;
}

} // namespace

SimulatedPlatform::SimulatedPlatform() : m_screens{{0, 0, 1920, 1080}} {}

UINT SimulatedPlatform::sendInput(UINT count, const INPUT* inputs, int recordSize)
{
    if (recordSize != static_cast<int>(sizeof(INPUT)) || inputs == nullptr)
        return 0;
    for (UINT i = 0; i < count; ++i) {
        const INPUT& record = inputs[i];
        if (record.type == INPUT_MOUSE) {
            // Injected events pass the mouse hooks too, marked as injected.
            const MouseEvents events = mouseEventsOf(record.mi);
            for (std::size_t e = 0; e < events.count; ++e) {
                const MouseEvent& event = events.events[e];
                if (passThroughMouseHooks(event, LLMHF_INJECTED, record.mi.dwExtraInfo)) {
                    std::lock_guard lock(m_mutex);
                    applyMouseEvent(event, record.mi);
                }
            }
        }
        std::lock_guard lock(m_mutex);
        if (record.type == INPUT_KEYBOARD)
            applyKeyboardRecord(record.ki);
        if (m_records.size() == kRecordHistory)
            m_records.pop_front();
        m_records.push_back(record);
    }
    return count;
}

SimulatedPlatform::MouseEvents SimulatedPlatform::mouseEventsOf(const MOUSEINPUT& mouse)
{
    // One record may carry several events; Windows delivers them in this order.
    MouseEvents result;
    auto add = [&result](UINT message, DWORD mouseData = 0) {
        result.events[result.count++] = {message, mouseData};
    };
    const DWORD flags = mouse.dwFlags;
    const DWORD xButtons = (mouse.mouseData & (XBUTTON1 | XBUTTON2)) << 16;
    const DWORD wheel = static_cast<DWORD>(static_cast<WORD>(mouse.mouseData)) << 16;
    if (flags & MOUSEEVENTF_MOVE)
        add(WM_MOUSEMOVE);
    if (flags & MOUSEEVENTF_LEFTDOWN)
        add(WM_LBUTTONDOWN);
    if (flags & MOUSEEVENTF_LEFTUP)
        add(WM_LBUTTONUP);
    if (flags & MOUSEEVENTF_RIGHTDOWN)
        add(WM_RBUTTONDOWN);
    if (flags & MOUSEEVENTF_RIGHTUP)
        add(WM_RBUTTONUP);
    if (flags & MOUSEEVENTF_MIDDLEDOWN)
        add(WM_MBUTTONDOWN);
    if (flags & MOUSEEVENTF_MIDDLEUP)
        add(WM_MBUTTONUP);
    if (flags & MOUSEEVENTF_XDOWN)
        add(WM_XBUTTONDOWN, xButtons);
    if (flags & MOUSEEVENTF_XUP)
        add(WM_XBUTTONUP, xButtons);
    if (flags & MOUSEEVENTF_WHEEL)
        add(WM_MOUSEWHEEL, wheel);
    if (flags & MOUSEEVENTF_HWHEEL)
        add(WM_MOUSEHWHEEL, wheel);
    return result;
}

bool SimulatedPlatform::passThroughMouseHooks(const MouseEvent& event, DWORD flags,
                                              ULONG_PTR extraInfo)
{
    if (!m_anyMouseHook.load(std::memory_order_acquire))
        return true;
    HOOKPROC newest = nullptr;
    MSLLHOOKSTRUCT details{};
    {
        std::lock_guard lock(m_mutex);
        if (m_mouseHooks.empty())
            return true;
        newest = m_mouseHooks.front().procedure;
        details.pt = m_cursor;
    }
    details.mouseData = event.mouseData;
    details.flags = flags;
    details.time = tickCount();
    details.dwExtraInfo = extraInfo;
    // A hook that returns non-zero swallows the event.
    return newest(HC_ACTION, event.message, reinterpret_cast<LPARAM>(&details)) == 0;
}

void SimulatedPlatform::applyMouseEvent(const MouseEvent& event, const MOUSEINPUT& mouse)
{
    switch (event.message) {
    case WM_MOUSEMOVE:
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
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        changeKey(VK_LBUTTON, event.message == WM_LBUTTONDOWN);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        changeKey(VK_RBUTTON, event.message == WM_RBUTTONDOWN);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        changeKey(VK_MBUTTON, event.message == WM_MBUTTONDOWN);
        break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
        if (event.mouseData & (DWORD{XBUTTON1} << 16))
            changeKey(VK_XBUTTON1, event.message == WM_XBUTTONDOWN);
        if (event.mouseData & (DWORD{XBUTTON2} << 16))
            changeKey(VK_XBUTTON2, event.message == WM_XBUTTONDOWN);
        break;
    default:
        break; // the wheel changes no state
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
    // The squared distance of points 2^32 apart does not fit 64 bits: it is compared as a
    // double, exact enough to tell screens apart.
    double bestDistance = std::numeric_limits<double>::infinity();
    POINT best{x, y};
    for (const Screen& screen : m_screens) {
        const LONG cx = clampValue(x, screen.left, std::int64_t{screen.left} + screen.width - 1);
        const LONG cy = clampValue(y, screen.top, std::int64_t{screen.top} + screen.height - 1);
        const auto ddx = static_cast<double>(std::int64_t{cx} - x);
        const auto ddy = static_cast<double>(std::int64_t{cy} - y);
        const double distance = ddx * ddx + ddy * ddy;
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
    return MonotonicClock::now();
}

LONGLONG SimulatedPlatform::queryPerformanceFrequency()
{
    return MonotonicClock::kTicksPerSecond;
}

void SimulatedPlatform::sleepUntil(LONGLONG counter)
{
    MonotonicClock::sleepUntil(counter);
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
    MouseEvent event{};
    switch (virtualKey) {
    case VK_LBUTTON:
        event.message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        break;
    case VK_RBUTTON:
        event.message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        break;
    case VK_MBUTTON:
        event.message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        break;
    case VK_XBUTTON1:
    case VK_XBUTTON2:
        event.message = down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
        event.mouseData = static_cast<DWORD>(virtualKey == VK_XBUTTON1 ? XBUTTON1 : XBUTTON2) << 16;
        break;
    default:
        break;
    }
    if (event.message != 0 && !passThroughMouseHooks(event, 0, 0))
        return;
    std::lock_guard lock(m_mutex);
    changeKey(virtualKey, down);
}

void SimulatedPlatform::turnMouseWheel(int notches)
{
    const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
    passThroughMouseHooks({WM_MOUSEWHEEL, DWORD{delta} << 16}, 0, 0);
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

BOOL SimulatedPlatform::registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey)
{
    std::lock_guard lock(m_mutex);
    if (m_registerHotKeyError != ERROR_SUCCESS)
        return fail(m_registerHotKeyError);
    // Windows documents 0x0000..0xBFFF as the ids of applications; the simulated desktop
    // refuses others, so that a program straying outside is caught here.
    if (id < 0 || id > kMaxHotKeyId)
        return fail(ERROR_INVALID_PARAMETER);
    const std::pair key{modifiers & ~MOD_NOREPEAT, virtualKey};
    const bool taken =
        std::find(m_heldElsewhere.begin(), m_heldElsewhere.end(), key) != m_heldElsewhere.end() ||
        std::any_of(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
            return (hotKey.window == window && hotKey.id == id) ||
                   isCombination(hotKey, modifiers, virtualKey);
        });
    if (taken)
        return fail(ERROR_HOTKEY_ALREADY_REGISTERED);
    m_hotKeys.push_back({window, id, modifiers, virtualKey});
    return 1;
}

BOOL SimulatedPlatform::unregisterHotKey(HWND window, int id)
{
    std::lock_guard lock(m_mutex);
    const auto found = std::find_if(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
        return hotKey.window == window && hotKey.id == id;
    });
    if (found == m_hotKeys.end())
        return fail(ERROR_HOTKEY_NOT_REGISTERED);
    m_hotKeys.erase(found);
    return 1;
}

DWORD SimulatedPlatform::getLastError()
{
    return lastError;
}

std::wstring SimulatedPlatform::formatMessage(DWORD messageId)
{
    return systemMessageText(messageId);
}

int SimulatedPlatform::getKeyboardLayoutList(int count, HKL* layouts)
{
    std::lock_guard lock(m_mutex);
    const int installed = static_cast<int>(m_layouts.size());
    if (count <= 0 || layouts == nullptr)
        return installed;
    const int copied = std::min(count, installed);
    std::copy_n(m_layouts.begin(), copied, layouts);
    return copied;
}

HKL SimulatedPlatform::getKeyboardLayout(DWORD /*threadId*/)
{
    std::lock_guard lock(m_mutex);
    return m_currentLayout;
}

SHORT SimulatedPlatform::vkKeyScanEx(WCHAR character, HKL layout)
{
    if (layout == kEnglishLayout)
        return keyOf(kEnglishKeys, character);
    if (layout == kRussianLayout)
        return keyOf(kRussianKeys, character);
    return -1;
}

HHOOK SimulatedPlatform::setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE /*module*/,
                                          DWORD threadId)
{
    // Only the global low-level mouse hook exists on this desktop.
    if (hookId != WH_MOUSE_LL || procedure == nullptr || threadId != 0) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    const auto handle = reinterpret_cast<HHOOK>(++m_lastHookHandle);
    m_mouseHooks.insert(m_mouseHooks.begin(), {handle, procedure});
    m_anyMouseHook.store(true, std::memory_order_release);
    return handle;
}

BOOL SimulatedPlatform::unhookWindowsHookEx(HHOOK hook)
{
    std::lock_guard lock(m_mutex);
    const auto found = findMouseHook(hook);
    if (found == m_mouseHooks.end())
        return fail(ERROR_INVALID_HOOK_HANDLE);
    m_mouseHooks.erase(found);
    m_anyMouseHook.store(!m_mouseHooks.empty(), std::memory_order_release);
    return 1;
}

LRESULT SimulatedPlatform::callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    HOOKPROC next = nullptr;
    {
        std::lock_guard lock(m_mutex);
        const auto found = findMouseHook(hook);
        if (found != m_mouseHooks.end() && std::next(found) != m_mouseHooks.end())
            next = std::next(found)->procedure;
    }
    return next ? next(code, wParam, lParam) : 0;
}

std::vector<SimulatedPlatform::MouseHook>::iterator SimulatedPlatform::findMouseHook(HHOOK hook)
{
    return std::find_if(m_mouseHooks.begin(), m_mouseHooks.end(),
                        [hook](const MouseHook& installed) { return installed.handle == hook; });
}

bool SimulatedPlatform::pressHotKey(UINT modifiers, UINT virtualKey)
{
    MSG message{};
    {
        std::lock_guard lock(m_mutex);
        const auto found = std::find_if(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
            return isCombination(hotKey, modifiers, virtualKey);
        });
        if (found == m_hotKeys.end())
            return false;
        message.hwnd = found->window;
        message.message = WM_HOTKEY;
        message.wParam = static_cast<WPARAM>(found->id);
        message.lParam =
            static_cast<LPARAM>((virtualKey << 16) | (modifiers & ~MOD_NOREPEAT & 0xFFFF));
        message.pt = m_cursor;
    }
    message.time = tickCount();
    postMessage(message);
    return true;
}

std::vector<SimulatedPlatform::HotKey> SimulatedPlatform::registeredHotKeys()
{
    std::lock_guard lock(m_mutex);
    return m_hotKeys;
}

void SimulatedPlatform::setHotKeyHeldElsewhere(UINT modifiers, UINT virtualKey, bool held)
{
    std::lock_guard lock(m_mutex);
    const std::pair key{modifiers & ~MOD_NOREPEAT, virtualKey};
    std::erase(m_heldElsewhere, key);
    if (held)
        m_heldElsewhere.push_back(key);
}

void SimulatedPlatform::setRegisterHotKeyError(DWORD error)
{
    std::lock_guard lock(m_mutex);
    m_registerHotKeyError = error;
}

void SimulatedPlatform::setKeyboardLayouts(std::vector<HKL> layouts)
{
    std::lock_guard lock(m_mutex);
    m_layouts = std::move(layouts);
    m_currentLayout = m_layouts.empty() ? nullptr : m_layouts.front();
}

void SimulatedPlatform::setCurrentKeyboardLayout(HKL layout)
{
    std::lock_guard lock(m_mutex);
    m_currentLayout = layout;
}

std::size_t SimulatedPlatform::mouseHookCount()
{
    std::lock_guard lock(m_mutex);
    return m_mouseHooks.size();
}

} // namespace platform
