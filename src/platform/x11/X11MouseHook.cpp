#include "X11MouseHook.h"

#include "X11Connection.h"
#include "X11LastError.h"
#include "X11Screens.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <thread>
#include <utility>

namespace platform {

namespace {

// Mouse buttons as X numbers them: 1 left, 2 middle, 3 right, 4 to 7 the wheels (up, down,
// left, right), 8 and 9 the side buttons.
constexpr unsigned int kButtonCount = 10;

} // namespace

// The connection and the hooks of one thread that installed mouse hooks.
struct X11MouseHook::HookThread
{
    std::thread::id owner;
    X11Connection connection;
    int inputOpcode = 0;
    std::vector<int> syntheticDevices; // the XTEST pointers: the source of all XTEST clicks
    std::vector<std::pair<HHOOK, HOOKPROC>> hooks; // the newest first, as Windows calls them
    // Button events this backend sent that the hook has not seen yet: [button][press].
    std::array<std::array<int, 2>, kButtonCount> unseen{};
};

X11MouseHook::X11MouseHook(const X11Screens& screens) : m_screens(screens) {}

X11MouseHook::~X11MouseHook() = default;

X11MouseHook::HookThread* X11MouseHook::hookThreadOfCaller()
{
    const auto self = std::this_thread::get_id();
    const auto found = std::find_if(m_threads.begin(), m_threads.end(),
                                    [self](const auto& thread) { return thread->owner == self; });
    return found == m_threads.end() ? nullptr : found->get();
}

void X11MouseHook::noteSentButton(unsigned int button, bool press)
{
    std::lock_guard lock(m_mutex);
    for (const std::unique_ptr<HookThread>& thread : m_threads)
        ++thread->unseen[button][press ? 1 : 0];
}

HHOOK X11MouseHook::setWindowsHookEx(int hookId, HOOKPROC procedure, DWORD threadId)
{
    // Only the global low-level mouse hook exists here.
    if (hookId != WH_MOUSE_LL || procedure == nullptr || threadId != 0) {
        X11LastError::fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    {
        std::lock_guard lock(m_mutex);
        if (HookThread* thread = hookThreadOfCaller()) {
            const auto handle = reinterpret_cast<HHOOK>(++m_lastHandle);
            thread->hooks.insert(thread->hooks.begin(), {handle, procedure});
            return handle;
        }
    }

    // The thread's own connection, on which the server reports every button event of the
    // master pointers, whichever client has grabbed them.
    auto thread = std::make_unique<HookThread>();
    thread->owner = std::this_thread::get_id();
    thread->connection = openX11Connection();
    Display* display = thread->connection.get();
    int event = 0, error = 0, major = 2, minor = 2;
    if (!display ||
        !XQueryExtension(display, "XInputExtension", &thread->inputOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        X11LastError::fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    int deviceCount = 0;
    if (XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &deviceCount)) {
        for (int i = 0; i < deviceCount; ++i) {
            if (devices[i].use == XISlavePointer && std::strstr(devices[i].name, "XTEST"))
                thread->syntheticDevices.push_back(devices[i].deviceid);
        }
        XIFreeDeviceInfo(devices);
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False); // the clicks sent from now on are counted and seen

    std::lock_guard lock(m_mutex);
    const auto handle = reinterpret_cast<HHOOK>(++m_lastHandle);
    thread->hooks.emplace_back(handle, procedure);
    m_threads.push_back(std::move(thread));
    return handle;
}

BOOL X11MouseHook::unhookWindowsHookEx(HHOOK hook)
{
    std::unique_ptr<HookThread> finished;
    {
        std::lock_guard lock(m_mutex);
        for (auto thread = m_threads.begin(); thread != m_threads.end(); ++thread) {
            auto& hooks = (*thread)->hooks;
            const auto found = std::find_if(hooks.begin(), hooks.end(), [hook](const auto& entry) {
                return entry.first == hook;
            });
            if (found == hooks.end())
                continue;
            hooks.erase(found);
            if (hooks.empty()) {
                finished = std::move(*thread);
                m_threads.erase(thread);
            }
            return 1; // a finished thread's connection closes here, outside the lock
        }
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
            const auto found = std::find_if(hooks.begin(), hooks.end(), [hook](const auto& entry) {
                return entry.first == hook;
            });
            if (found != hooks.end() && std::next(found) != hooks.end())
                next = std::next(found)->second;
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
    if (!thread)
        return;
    Display* display = thread->connection.get();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != thread->inputOpcode ||
            !XGetEventData(display, &cookie))
            continue;
        if (cookie.evtype == XI_RawButtonPress || cookie.evtype == XI_RawButtonRelease)
            deliverButton(*thread, *static_cast<const XIRawEvent*>(cookie.data),
                          cookie.evtype == XI_RawButtonPress);
        XFreeEventData(display, &cookie);
    }
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
        const bool synthetic =
            std::find(thread.syntheticDevices.begin(), thread.syntheticDevices.end(),
                      event.sourceid) != thread.syntheticDevices.end();
        int& unseen = thread.unseen[static_cast<std::size_t>(button)][press ? 1 : 0];
        if (synthetic && unseen > 0) {
            --unseen;
            injected = true;
        }
        if (!thread.hooks.empty())
            newest = thread.hooks.front().second;
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

} // namespace platform
