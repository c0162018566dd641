#include "QGlobalMouseHook.h"

#include "InputListener.h"
#include "KeyAndMotionHook.h"
#include "input/ButtonEchoes.h"
#include "platform/Platform.h"

#include <QSocketNotifier>

#include <atomic>
#include <memory>

namespace {

// The installed hook; the hook procedure passes every event on through it.
std::atomic<HHOOK> installedHook{nullptr};

} // namespace

QGlobalMouseHook::QGlobalMouseHook() = default;

QGlobalMouseHook::~QGlobalMouseHook()
{
    stopThread();
}

QGlobalMouseHook& QGlobalMouseHook::object()
{
    static QGlobalMouseHook hook;
    return hook;
}

QGlobalMouseHook* QGlobalMouseHook::acquire()
{
    QGlobalMouseHook& hook = object();
    ++hook.m_users;
    if (!hook.isRunning()) {
        hook.start();
        // Clicks right after this call are already seen.
        hook.m_hookInstalled.acquire();
    }
    return &hook;
}

void QGlobalMouseHook::release()
{
    QGlobalMouseHook& hook = object();
    if (hook.m_users > 0 && --hook.m_users == 0)
        hook.stopThread();
}

void QGlobalMouseHook::shutdown()
{
    QGlobalMouseHook& hook = object();
    hook.m_users = 0;
    hook.stopThread();
}

void QGlobalMouseHook::stopThread()
{
    quit();
    wait();
}

void QGlobalMouseHook::setInputListener(InputListener* listener)
{
    if (!isRunning() || m_threadContext == nullptr)
        return;
    QMetaObject::invokeMethod(
        m_threadContext, [listener] { KeyAndMotionHook::attach(listener); },
        Qt::BlockingQueuedConnection);
}

void QGlobalMouseHook::run()
{
    platform::Platform& system = platform::Platform::current();
    installedHook.store(system.setWindowsHookEx(WH_MOUSE_LL, &hookProcedure, nullptr, 0));
    // Where the system does not call the hook from this thread's event loop by itself, the
    // loop watches the backend's descriptor and lets it call the hook.
    std::unique_ptr<QSocketNotifier> hookEvents;
    if (const int descriptor = system.hookEventDescriptor(); descriptor >= 0) {
        hookEvents = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        connect(hookEvents.get(), &QSocketNotifier::activated, hookEvents.get(),
                [&system] { system.processHookEvents(); });
        system.processHookEvents(); // what arrived while the hook was being installed
    }
    QObject threadContext;
    m_threadContext = &threadContext;
    m_hookInstalled.release();
    exec();
    m_threadContext = nullptr;
    KeyAndMotionHook::attach(nullptr);
    hookEvents.reset();
    // The system also removes a thread's low-level hook when the thread ends.
    if (HHOOK hook = installedHook.exchange(nullptr))
        system.unhookWindowsHookEx(hook);
}

void QGlobalMouseHook::tellListener(InputListener& listener, UINT message,
                                    const MSLLHOOKSTRUCT& event)
{
    const DWORD highWord = event.mouseData >> 16; // the side button or the wheel's turn
    switch (message) {
    case WM_MOUSEMOVE:
        KeyAndMotionHook::mouseMoved(event.pt);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        listener.buttonEvent(1, message == WM_LBUTTONDOWN);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        listener.buttonEvent(2, message == WM_MBUTTONDOWN);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        listener.buttonEvent(3, message == WM_RBUTTONDOWN);
        break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
        if (highWord & XBUTTON1)
            listener.buttonEvent(4, message == WM_XBUTTONDOWN);
        if (highWord & XBUTTON2)
            listener.buttonEvent(5, message == WM_XBUTTONDOWN);
        break;
    case WM_MOUSEWHEEL:
        listener.wheelEvent(static_cast<SHORT>(highWord));
        break;
    default:
        break; // the horizontal wheel has no scripting function to play it
    }
}

LRESULT CALLBACK QGlobalMouseHook::hookProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    // The program's own input is not the user's: what it sends through the system carries the
    // injected flag, what it sends through the virtual HID mouse comes back as hardware input
    // and is matched against the events that mouse noted.
    if (code == HC_ACTION && event && !(event->flags & LLMHF_INJECTED) &&
        !ButtonEchoes::instance().take(static_cast<UINT>(wParam))) {
        QGlobalMouseHook& hook = object();
        if (InputListener* listener = KeyAndMotionHook::listener())
            tellListener(*listener, static_cast<UINT>(wParam), *event);
        switch (wParam) {
        case WM_LBUTTONDOWN:
            emit hook.leftMouseButtonEvent(true);
            break;
        case WM_LBUTTONUP:
            emit hook.leftMouseButtonEvent(false);
            break;
        case WM_RBUTTONDOWN:
            emit hook.rightMouseButtonEvent(true);
            break;
        case WM_RBUTTONUP:
            emit hook.rightMouseButtonEvent(false);
            break;
        case WM_MBUTTONDOWN:
            emit hook.midMouseButtonEvent(true);
            break;
        case WM_MBUTTONUP:
            emit hook.midMouseButtonEvent(false);
            break;
        case WM_XBUTTONDOWN:
        case WM_XBUTTONUP: {
            // The high word of mouseData says which side button.
            const DWORD buttons = event->mouseData >> 16;
            const bool pressed = wParam == WM_XBUTTONDOWN;
            if (buttons & XBUTTON1)
                emit hook.xButton1Event(pressed);
            if (buttons & XBUTTON2)
                emit hook.xButton2Event(pressed);
            break;
        }
        default:
            break; // moves and the wheel are not reported
        }
    }
    return platform::Platform::current().callNextHookEx(installedHook.load(), code, wParam, lParam);
}
