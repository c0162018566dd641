#include "X11MouseHook.h"

#include "X11Connection.h"
#include "X11Keys.h"
#include "X11LastError.h"
#include "X11Screens.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <thread>
#include <utility>

namespace platform {

namespace {

// Mouse buttons as X numbers them: 1 left, 2 middle, 3 right, 4 to 7 the wheels (up, down,
// left, right), 8 and 9 the side buttons.
constexpr unsigned int kButtonCount = 10;
constexpr unsigned int kKeycodeCount = 256;

struct InstalledHook
{
    HHOOK handle;
    int hookId;
    HOOKPROC procedure;
};

} // namespace

// The connection, the hooks and the raw input procedure of one thread.
struct X11MouseHook::HookThread
{
    std::thread::id owner;
    X11Connection connection;
    int inputOpcode = 0;
    std::vector<int> syntheticDevices; // the XTEST devices: the source of all XTEST input
    std::vector<InstalledHook> hooks;  // the newest first, as Windows calls them
    Platform::RawMouseProc rawMouse = nullptr;
    // The parts of a count that raw motion has reported and not yet passed on.
    double restX = 0;
    double restY = 0;
    // Input this backend sent that the hooks have not seen yet: [button or keycode][press].
    std::array<std::array<int, 2>, kButtonCount> unseenButtons{};
    std::array<std::array<int, 2>, kKeycodeCount> unseenKeys{};
    int unseenMotions = 0;
};

X11MouseHook::X11MouseHook(const X11Screens& screens) : m_screens(screens) {}

X11MouseHook::~X11MouseHook() = default;

bool X11MouseHook::hears(const HookThread& thread, int hookId)
{
    return std::any_of(thread.hooks.begin(), thread.hooks.end(),
                       [hookId](const InstalledHook& hook) { return hook.hookId == hookId; });
}

X11MouseHook::HookThread* X11MouseHook::hookThreadOfCaller()
{
    const auto self = std::this_thread::get_id();
    const auto found = std::find_if(m_threads.begin(), m_threads.end(),
                                    [self](const auto& thread) { return thread->owner == self; });
    return found == m_threads.end() ? nullptr : found->get();
}

// Only a thread that selects an event's kind will see it come back: counted for any other,
// the note would stay and take the user's next event of that kind for the program's.
void X11MouseHook::noteSentButton(unsigned int button, bool press)
{
    std::lock_guard lock(m_mutex);
    for (const std::unique_ptr<HookThread>& thread : m_threads) {
        if (hears(*thread, WH_MOUSE_LL))
            ++thread->unseenButtons[button][press ? 1 : 0];
    }
}

void X11MouseHook::noteSentKey(unsigned int keycode, bool press)
{
    std::lock_guard lock(m_mutex);
    for (const std::unique_ptr<HookThread>& thread : m_threads) {
        if (hears(*thread, WH_KEYBOARD_LL))
            ++thread->unseenKeys[keycode % kKeycodeCount][press ? 1 : 0];
    }
}

void X11MouseHook::noteSentMotion()
{
    std::lock_guard lock(m_mutex);
    for (const std::unique_ptr<HookThread>& thread : m_threads) {
        if (thread->rawMouse)
            ++thread->unseenMotions;
    }
}

X11MouseHook::HookThread* X11MouseHook::openHookThreadOfCaller()
{
    {
        std::lock_guard lock(m_mutex);
        if (HookThread* thread = hookThreadOfCaller())
            return thread;
    }
    // The thread's own connection, on which the server reports every raw event of the
    // devices, whichever client has grabbed them.
    auto thread = std::make_unique<HookThread>();
    thread->owner = std::this_thread::get_id();
    thread->connection = openX11Connection();
    Display* display = thread->connection.get();
    int event = 0, error = 0, major = 2, minor = 2;
    if (!display ||
        !XQueryExtension(display, "XInputExtension", &thread->inputOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success)
        return nullptr;
    int deviceCount = 0;
    if (XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &deviceCount)) {
        for (int i = 0; i < deviceCount; ++i) {
            if ((devices[i].use == XISlavePointer || devices[i].use == XISlaveKeyboard) &&
                std::strstr(devices[i].name, "XTEST"))
                thread->syntheticDevices.push_back(devices[i].deviceid);
        }
        XIFreeDeviceInfo(devices);
    }
    std::lock_guard lock(m_mutex);
    m_threads.push_back(std::move(thread));
    return m_threads.back().get();
}

void X11MouseHook::select(HookThread& thread)
{
    // What the thread no longer hears comes back unseen: its notes are let go.
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (hears(thread, WH_MOUSE_LL)) {
        XISetMask(bits, XI_RawButtonPress);
        XISetMask(bits, XI_RawButtonRelease);
    } else {
        thread.unseenButtons = {};
    }
    if (hears(thread, WH_KEYBOARD_LL)) {
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
    } else {
        thread.unseenKeys = {};
    }
    if (thread.rawMouse)
        XISetMask(bits, XI_RawMotion);
    else
        thread.unseenMotions = 0;
    Display* display = thread.connection.get();
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False); // the input sent from now on is counted and seen
}

void X11MouseHook::closeIfUnused(HookThread& thread, std::unique_ptr<HookThread>& finished)
{
    if (!thread.hooks.empty() || thread.rawMouse != nullptr)
        return;
    const auto found = std::find_if(m_threads.begin(), m_threads.end(),
                                    [&thread](const auto& entry) { return entry.get() == &thread; });
    finished = std::move(*found); // its connection closes after the lock is let go
    m_threads.erase(found);
}

HHOOK X11MouseHook::setWindowsHookEx(int hookId, HOOKPROC procedure, DWORD threadId)
{
    // Only the global low-level hooks exist here.
    if ((hookId != WH_MOUSE_LL && hookId != WH_KEYBOARD_LL) || procedure == nullptr ||
        threadId != 0) {
        X11LastError::fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HookThread* thread = openHookThreadOfCaller();
    if (!thread) {
        X11LastError::fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    const auto handle = reinterpret_cast<HHOOK>(++m_lastHandle);
    thread->hooks.insert(thread->hooks.begin(), {handle, hookId, procedure});
    select(*thread);
    return handle;
}

void X11MouseHook::hearReported()
{
    HookThread* thread = nullptr;
    {
        std::lock_guard lock(m_mutex);
        thread = hookThreadOfCaller();
    }
    if (!thread)
        return;
    // The server's reply comes after every event it reported before it: all are read.
    XSync(thread->connection.get(), False);
    readEvents(*thread);
}

bool X11MouseHook::registerRawMouseInput(Platform::RawMouseProc procedure)
{
    if (!procedure)
        hearReported();
    HookThread* thread = procedure ? openHookThreadOfCaller() : nullptr;
    std::unique_ptr<HookThread> finished;
    std::lock_guard lock(m_mutex);
    if (!procedure)
        thread = hookThreadOfCaller();
    if (!thread)
        return procedure == nullptr;
    thread->rawMouse = procedure;
    thread->restX = thread->restY = 0;
    select(*thread);
    closeIfUnused(*thread, finished);
    return true;
}

BOOL X11MouseHook::unhookWindowsHookEx(HHOOK hook)
{
    hearReported();
    std::unique_ptr<HookThread> finished; // declared first: destroyed after the lock ends
    std::lock_guard lock(m_mutex);
    for (const std::unique_ptr<HookThread>& thread : m_threads) {
        auto& hooks = thread->hooks;
        const auto found = std::find_if(hooks.begin(), hooks.end(),
                                        [hook](const auto& entry) { return entry.handle == hook; });
        if (found == hooks.end())
            continue;
        hooks.erase(found);
        select(*thread);
        closeIfUnused(*thread, finished);
        return 1;
    }
    return X11LastError::fail(ERROR_INVALID_HOOK_HANDLE);
}

LRESULT X11MouseHook::callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    HOOKPROC next = nullptr;
    {
        std::lock_guard lock(m_mutex);
        for (const std::unique_ptr<HookThread>& thread : m_threads) {
            const auto& hooks = thread->hooks;
            auto found = std::find_if(hooks.begin(), hooks.end(),
                                      [hook](const auto& entry) { return entry.handle == hook; });
            if (found == hooks.end())
                continue;
            const int hookId = found->hookId;
            found = std::find_if(std::next(found), hooks.end(),
                                 [hookId](const auto& entry) { return entry.hookId == hookId; });
            if (found != hooks.end())
                next = found->procedure;
        }
    }
    return next ? next(code, wParam, lParam) : 0;
}

int X11MouseHook::hookEventDescriptor()
{
    std::lock_guard lock(m_mutex);
    const HookThread* thread = hookThreadOfCaller();
    return thread ? ConnectionNumber(thread->connection.get()) : -1;
}

void X11MouseHook::processHookEvents()
{
    HookThread* thread = nullptr;
    {
        std::lock_guard lock(m_mutex);
        thread = hookThreadOfCaller();
    }
    if (thread)
        readEvents(*thread);
}

void X11MouseHook::readEvents(HookThread& thread)
{
    Display* display = thread.connection.get();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != thread.inputOpcode ||
            !XGetEventData(display, &cookie))
            continue;
        const auto& raw = *static_cast<const XIRawEvent*>(cookie.data);
        switch (cookie.evtype) {
        case XI_RawButtonPress:
        case XI_RawButtonRelease:
            deliverButton(thread, raw, cookie.evtype == XI_RawButtonPress);
            break;
        case XI_RawKeyPress:
        case XI_RawKeyRelease:
            deliverKey(thread, raw, cookie.evtype == XI_RawKeyPress);
            break;
        case XI_RawMotion:
            deliverMotion(thread, raw);
            break;
        default:
            break;
        }
        XFreeEventData(display, &cookie);
    }
}

bool X11MouseHook::takeUnseen(const HookThread& thread, int sourceDevice, int& unseen)
{
    const bool synthetic = std::find(thread.syntheticDevices.begin(), thread.syntheticDevices.end(),
                                     sourceDevice) != thread.syntheticDevices.end();
    if (!synthetic || unseen == 0)
        return false;
    --unseen;
    return true;
}

HOOKPROC X11MouseHook::newestHook(HookThread& thread, int hookId)
{
    const auto found =
        std::find_if(thread.hooks.begin(), thread.hooks.end(),
                     [hookId](const InstalledHook& hook) { return hook.hookId == hookId; });
    return found == thread.hooks.end() ? nullptr : found->procedure;
}

void X11MouseHook::deliverButton(HookThread& thread, const XIRawEvent& event, bool press)
{
    const int button = event.detail;
    if (button < 1 || button >= static_cast<int>(kButtonCount))
        return;
    bool injected = false;
    HOOKPROC newest = nullptr;
    {
        std::lock_guard lock(m_mutex);
        injected = takeUnseen(thread, event.sourceid,
                              thread.unseenButtons[static_cast<std::size_t>(button)][press ? 1 : 0]);
        newest = newestHook(thread, WH_MOUSE_LL);
    }

    MSLLHOOKSTRUCT details{};
    UINT message = 0;
    const auto wheel = [](int delta) {
        return static_cast<DWORD>(static_cast<WORD>(delta)) << 16;
    };
    switch (button) {
    case 1:
        message = press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        break;
    case 2:
        message = press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        break;
    case 3:
        message = press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        break;
    case 4:
    case 5:
        message = press ? WM_MOUSEWHEEL : 0; // a notch is one press; its release is nothing
        details.mouseData = wheel(button == 4 ? WHEEL_DELTA : -WHEEL_DELTA);
        break;
    case 6:
    case 7:
        message = press ? WM_MOUSEHWHEEL : 0;
        details.mouseData = wheel(button == 7 ? WHEEL_DELTA : -WHEEL_DELTA);
        break;
    default:
        message = press ? WM_XBUTTONDOWN : WM_XBUTTONUP;
        details.mouseData = DWORD{button == 8 ? XBUTTON1 : XBUTTON2} << 16;
        break;
    }
    if (message == 0 || newest == nullptr)
        return;

    Display* display = thread.connection.get();
    Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &rootReturn, &child, &rootX, &rootY,
                  &windowX, &windowY, &mask);
    details.pt = m_screens.fromRoot(rootX, rootY);
    details.flags = injected ? LLMHF_INJECTED : 0;
    details.time = static_cast<DWORD>(event.time);
    // The hook only observes: X has delivered the event already, whatever it returns.
    newest(HC_ACTION, message, reinterpret_cast<LPARAM>(&details));
}

void X11MouseHook::deliverKey(HookThread& thread, const XIRawEvent& event, bool press)
{
    const int keycode = event.detail;
    if (keycode < X11Keys::kKeycodeOffset || keycode >= static_cast<int>(kKeycodeCount))
        return;
    bool injected = false;
    HOOKPROC newest = nullptr;
    {
        std::lock_guard lock(m_mutex);
        injected = takeUnseen(thread, event.sourceid,
                              thread.unseenKeys[static_cast<std::size_t>(keycode)][press ? 1 : 0]);
        newest = newestHook(thread, WH_KEYBOARD_LL);
    }
    if (newest == nullptr)
        return;
    // The key as a US keyboard names it, whatever layout is active: the keycode is the
    // physical key, as the scan code is on Windows.
    const int inputCode = keycode - X11Keys::kKeycodeOffset;
    const WORD scanCode = X11Keys::scanCodeOfInputCode(inputCode);
    KBDLLHOOKSTRUCT details{};
    details.vkCode = static_cast<DWORD>(X11Keys::virtualKeyOfInputCode(inputCode));
    details.scanCode = scanCode & 0xFF;
    details.flags = ((scanCode & 0xFF00) == 0xE000 ? LLKHF_EXTENDED : 0) |
                    (press ? 0 : LLKHF_UP) | (injected ? LLKHF_INJECTED : 0);
    details.time = static_cast<DWORD>(event.time);
    newest(HC_ACTION, press ? WM_KEYDOWN : WM_KEYUP, reinterpret_cast<LPARAM>(&details));
}

void X11MouseHook::deliverMotion(HookThread& thread, const XIRawEvent& event)
{
    // The raw values of the valuators the event carries, in the order of their numbers:
    // 0 is x, 1 is y, in the device's counts before acceleration.
    double delta[2] = {0, 0};
    const double* value = event.raw_values;
    for (int valuator = 0; valuator < event.valuators.mask_len * 8; ++valuator) {
        if (!XIMaskIsSet(event.valuators.mask, valuator))
            continue;
        if (valuator < 2)
            delta[valuator] = *value;
        ++value;
    }
    bool injected = false;
    Platform::RawMouseProc procedure = nullptr;
    {
        std::lock_guard lock(m_mutex);
        injected = takeUnseen(thread, event.sourceid, thread.unseenMotions);
        procedure = thread.rawMouse;
    }
    if (procedure == nullptr)
        return;
    // Whole counts are passed on; the parts of one wait for the next motion.
    thread.restX += delta[0];
    thread.restY += delta[1];
    RAWMOUSE mouse{};
    mouse.usFlags = MOUSE_MOVE_RELATIVE;
    mouse.lLastX = static_cast<LONG>(std::trunc(thread.restX));
    mouse.lLastY = static_cast<LONG>(std::trunc(thread.restY));
    thread.restX -= mouse.lLastX;
    thread.restY -= mouse.lLastY;
    if (mouse.lLastX != 0 || mouse.lLastY != 0)
        procedure(mouse, injected);
}

} // namespace platform
