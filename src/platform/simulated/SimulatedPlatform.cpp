#include "SimulatedPlatform.h"

#include "../MonotonicClock.h"
#include "../SystemMessages.h"

#include <chrono>
#include <optional>
#include <utility>

namespace platform {

namespace {

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

// The result of a call whose part answered with an error code.
BOOL succeedOrFail(DWORD error)
{
    return error == ERROR_SUCCESS ? 1 : fail(error);
}

} // namespace

UINT SimulatedPlatform::sendInput(UINT count, const INPUT* inputs, int recordSize)
{
    if (recordSize != static_cast<int>(sizeof(INPUT)) || inputs == nullptr)
        return 0;
    for (UINT i = 0; i < count; ++i) {
        const INPUT& record = inputs[i];
        if (record.type == INPUT_MOUSE) {
            // Injected events pass raw input and the hooks too, marked as injected.
            if (record.mi.dwFlags & MOUSEEVENTF_MOVE)
                reportRawMove(record.mi, true);
            const MouseEvents events = mouseEventsOf(record.mi);
            for (std::size_t e = 0; e < events.count; ++e) {
                const MouseEvent& event = events.events[e];
                if (passThroughMouseHooks(event, LLMHF_INJECTED, record.mi.dwExtraInfo)) {
                    std::lock_guard lock(m_mutex);
                    applyMouseEvent(event, record.mi);
                }
            }
        }
        const bool keyPassed = record.type != INPUT_KEYBOARD || passThroughKeyboardHooks(record.ki);
        std::lock_guard lock(m_mutex);
        if (record.type == INPUT_KEYBOARD && keyPassed)
            m_keys.applyKeyboardRecord(record.ki);
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
    if (!m_mouseHooks.anyInstalled())
        return true;
    HOOKPROC newest = nullptr;
    MSLLHOOKSTRUCT details{};
    {
        std::lock_guard lock(m_mutex);
        newest = m_mouseHooks.newest();
        if (newest == nullptr)
            return true;
        details.pt = m_screens.cursor();
    }
    details.mouseData = event.mouseData;
    details.flags = flags;
    details.time = tickCount();
    details.dwExtraInfo = extraInfo;
    // A hook that returns non-zero swallows the event.
    return newest(HC_ACTION, event.message, reinterpret_cast<LPARAM>(&details)) == 0;
}

bool SimulatedPlatform::passThroughKeyboardHooks(const KEYBDINPUT& record)
{
    // Sent keys reach the hooks as Windows reports them: a character as VK_PACKET.
    KBDLLHOOKSTRUCT key{};
    key.vkCode = record.dwFlags & KEYEVENTF_UNICODE ? DWORD{VK_PACKET} : record.wVk;
    key.scanCode = record.wScan;
    key.flags = DWORD{LLKHF_INJECTED} | (record.dwFlags & KEYEVENTF_KEYUP ? DWORD{LLKHF_UP} : 0) |
                (record.dwFlags & KEYEVENTF_EXTENDEDKEY ? DWORD{LLKHF_EXTENDED} : 0);
    key.dwExtraInfo = record.dwExtraInfo;
    return passThroughKeyboardHooks(key);
}

bool SimulatedPlatform::passThroughKeyboardHooks(const KBDLLHOOKSTRUCT& key)
{
    if (!m_keyboardHooks.anyInstalled())
        return true;
    HOOKPROC newest = nullptr;
    {
        std::lock_guard lock(m_mutex);
        newest = m_keyboardHooks.newest();
    }
    if (newest == nullptr)
        return true;
    KBDLLHOOKSTRUCT details = key;
    details.time = tickCount();
    const bool up = key.flags & LLKHF_UP;
    return newest(HC_ACTION, up ? WM_KEYUP : WM_KEYDOWN, reinterpret_cast<LPARAM>(&details)) == 0;
}

void SimulatedPlatform::reportRawMove(const MOUSEINPUT& mouse, bool injected)
{
    const RawMouseProc procedure = m_rawMouse.load(std::memory_order_acquire);
    if (procedure == nullptr)
        return;
    RAWMOUSE raw{};
    raw.usFlags = mouse.dwFlags & MOUSEEVENTF_ABSOLUTE ? MOUSE_MOVE_ABSOLUTE : MOUSE_MOVE_RELATIVE;
    raw.lLastX = mouse.dx;
    raw.lLastY = mouse.dy;
    procedure(raw, injected);
}

void SimulatedPlatform::applyMouseEvent(const MouseEvent& event, const MOUSEINPUT& mouse)
{
    switch (event.message) {
    case WM_MOUSEMOVE:
        m_screens.applyMove(mouse);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        m_keys.changeKey(VK_LBUTTON, event.message == WM_LBUTTONDOWN);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        m_keys.changeKey(VK_RBUTTON, event.message == WM_RBUTTONDOWN);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        m_keys.changeKey(VK_MBUTTON, event.message == WM_MBUTTONDOWN);
        break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
        if (event.mouseData & (DWORD{XBUTTON1} << 16))
            m_keys.changeKey(VK_XBUTTON1, event.message == WM_XBUTTONDOWN);
        if (event.mouseData & (DWORD{XBUTTON2} << 16))
            m_keys.changeKey(VK_XBUTTON2, event.message == WM_XBUTTONDOWN);
        break;
    default:
        break; // the wheel changes no state
    }
}

bool SimulatedPlatform::getCursorPos(POINT& point)
{
    std::lock_guard lock(m_mutex);
    point = m_screens.cursor();
    return true;
}

int SimulatedPlatform::getSystemMetrics(int index)
{
    std::lock_guard lock(m_mutex);
    return m_screens.getSystemMetrics(index);
}

SHORT SimulatedPlatform::getAsyncKeyState(int virtualKey)
{
    std::lock_guard lock(m_mutex);
    return m_keys.getAsyncKeyState(virtualKey);
}

SHORT SimulatedPlatform::getKeyState(int virtualKey)
{
    std::lock_guard lock(m_mutex);
    return m_keys.getKeyState(virtualKey);
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

bool SimulatedPlatform::sleepsPrecisely()
{
    return true;
}

void SimulatedPlatform::setScreens(std::vector<Screen> screens)
{
    std::lock_guard lock(m_mutex);
    m_screens.setScreens(std::move(screens));
}

void SimulatedPlatform::setCursorPos(POINT point)
{
    std::lock_guard lock(m_mutex);
    m_screens.moveCursorTo(point.x, point.y);
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
    m_keys.changeKey(virtualKey, down);
}

void SimulatedPlatform::setKeyDown(int virtualKey, WORD scanCode, bool down)
{
    KBDLLHOOKSTRUCT key{};
    key.vkCode = static_cast<DWORD>(virtualKey);
    key.scanCode = scanCode & 0xFF;
    key.flags = (down ? 0 : DWORD{LLKHF_UP}) |
                ((scanCode & 0xFF00) == 0xE000 ? DWORD{LLKHF_EXTENDED} : 0);
    if (!passThroughKeyboardHooks(key))
        return;
    std::lock_guard lock(m_mutex);
    m_keys.changeKey(virtualKey, down);
}

void SimulatedPlatform::moveMouse(int dx, int dy)
{
    MOUSEINPUT move{};
    move.dx = dx;
    move.dy = dy;
    move.dwFlags = MOUSEEVENTF_MOVE;
    reportRawMove(move, false);
    if (!passThroughMouseHooks({WM_MOUSEMOVE, 0}, 0, 0))
        return;
    std::lock_guard lock(m_mutex);
    m_screens.applyMove(move);
}

void SimulatedPlatform::turnMouseWheel(int notches)
{
    const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
    passThroughMouseHooks({WM_MOUSEWHEEL, DWORD{delta} << 16}, 0, 0);
}

void SimulatedPlatform::setKeyToggled(int virtualKey, bool toggled)
{
    std::lock_guard lock(m_mutex);
    m_keys.setKeyToggled(virtualKey, toggled);
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
    return succeedOrFail(m_hotKeys.registerHotKey(window, id, modifiers, virtualKey));
}

BOOL SimulatedPlatform::unregisterHotKey(HWND window, int id)
{
    std::lock_guard lock(m_mutex);
    return succeedOrFail(m_hotKeys.unregisterHotKey(window, id));
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
    return m_layouts.getKeyboardLayoutList(count, layouts);
}

HKL SimulatedPlatform::getKeyboardLayout(DWORD /*threadId*/)
{
    std::lock_guard lock(m_mutex);
    return m_layouts.getKeyboardLayout();
}

SHORT SimulatedPlatform::vkKeyScanEx(WCHAR character, HKL layout)
{
    return SimulatedKeyboardLayouts::vkKeyScanEx(character, layout);
}

HHOOK SimulatedPlatform::setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE /*module*/,
                                          DWORD threadId)
{
    // Only the global low-level hooks exist on this desktop.
    if ((hookId != WH_MOUSE_LL && hookId != WH_KEYBOARD_LL) || procedure == nullptr ||
        threadId != 0) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    return (hookId == WH_MOUSE_LL ? m_mouseHooks : m_keyboardHooks).install(procedure);
}

BOOL SimulatedPlatform::unhookWindowsHookEx(HHOOK hook)
{
    std::lock_guard lock(m_mutex);
    return m_mouseHooks.remove(hook) || m_keyboardHooks.remove(hook)
               ? 1
               : fail(ERROR_INVALID_HOOK_HANDLE);
}

LRESULT SimulatedPlatform::callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    HOOKPROC next = nullptr;
    {
        std::lock_guard lock(m_mutex);
        next = m_mouseHooks.following(hook);
        if (next == nullptr)
            next = m_keyboardHooks.following(hook);
    }
    return next ? next(code, wParam, lParam) : 0;
}

bool SimulatedPlatform::registerRawMouseInput(RawMouseProc procedure)
{
    m_rawMouse.store(procedure, std::memory_order_release);
    return true;
}

bool SimulatedPlatform::watchForeground(ForegroundReceiver receiver)
{
    std::lock_guard lock(m_foregroundMutex);
    m_foregroundReceiver = std::move(receiver);
    if (m_foregroundReceiver)
        m_foregroundReceiver(m_foreground);
    return true;
}

ForegroundProgram SimulatedPlatform::programInFront()
{
    std::lock_guard lock(m_foregroundMutex);
    return m_foreground;
}

bool SimulatedPlatform::isElevated()
{
    return m_elevation.isElevated();
}

DWORD SimulatedPlatform::startElevated(const std::wstring& program, const std::wstring& parameters,
                                       ExitReceiver finished)
{
    return m_elevation.start(program, parameters, std::move(finished));
}

void SimulatedPlatform::setForegroundProgram(ForegroundProgram program)
{
    std::lock_guard lock(m_foregroundMutex);
    m_foreground = std::move(program);
    if (m_foregroundReceiver)
        m_foregroundReceiver(m_foreground);
}

bool SimulatedPlatform::pressHotKey(UINT modifiers, UINT virtualKey)
{
    std::optional<MSG> message;
    {
        std::lock_guard lock(m_mutex);
        message = m_hotKeys.messageOfPress(modifiers, virtualKey);
        if (!message)
            return false;
        message->pt = m_screens.cursor();
    }
    message->time = tickCount();
    postMessage(*message);
    return true;
}

std::vector<SimulatedPlatform::HotKey> SimulatedPlatform::registeredHotKeys()
{
    std::lock_guard lock(m_mutex);
    return m_hotKeys.registered();
}

void SimulatedPlatform::setHotKeyHeldElsewhere(UINT modifiers, UINT virtualKey, bool held)
{
    std::lock_guard lock(m_mutex);
    m_hotKeys.setHeldElsewhere(modifiers, virtualKey, held);
}

void SimulatedPlatform::setRegisterHotKeyError(DWORD error)
{
    std::lock_guard lock(m_mutex);
    m_hotKeys.setRegisterError(error);
}

void SimulatedPlatform::setKeyboardLayouts(std::vector<HKL> layouts)
{
    std::lock_guard lock(m_mutex);
    m_layouts.setLayouts(std::move(layouts));
}

void SimulatedPlatform::setCurrentKeyboardLayout(HKL layout)
{
    std::lock_guard lock(m_mutex);
    m_layouts.setCurrent(layout);
}

std::size_t SimulatedPlatform::mouseHookCount()
{
    std::lock_guard lock(m_mutex);
    return m_mouseHooks.count();
}

} // namespace platform
