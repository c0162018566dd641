#include "X11Platform.h"

#include "../MonotonicClock.h"
#include "../SystemMessages.h"

#include "X11Connection.h"
#include "X11Foreground.h"
#include "X11HotKeys.h"
#include "X11Input.h"
#include "X11KeyState.h"
#include "X11KeyboardLayouts.h"
#include "X11Keys.h"
#include "X11LastError.h"
#include "X11MouseHook.h"
#include "X11Screens.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include <mutex>
#include <utility>

namespace platform {

// The parts of the backend. The callers' connection serves the input, the cursor and the
// screens, the key states and the keyboard map, one caller at a time (inputMutex).
struct X11Platform::Desktop
{
    explicit Desktop(X11Connection callers);

    std::mutex inputMutex;
    X11Connection connection;
    X11Screens screens;
    X11KeyboardLayouts layouts;
    X11KeyState keyState;
    X11MouseHook mouseHook;
    X11Input input;
    X11Foreground foreground;
    // Last: its thread, which passes news to the screens and the layouts, stops first.
    X11HotKeys hotKeys;
};

X11Platform::Desktop::Desktop(X11Connection callers)
    : connection(std::move(callers)), screens(connection.get()), layouts(connection.get()),
      keyState(connection.get(), layouts), mouseHook(screens),
      input(connection.get(), screens, layouts, mouseHook), hotKeys(screens, layouts)
{}

std::unique_ptr<X11Platform> X11Platform::open()
{
    XInitThreads();
    X11Connection connection = openX11Connection();
    Display* display = connection.get();
    if (!display)
        return nullptr;
    int event = 0, error = 0, major = 0, minor = 0, opcode = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        return nullptr;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        return nullptr;
    auto desktop = std::make_unique<Desktop>(std::move(connection));
    if (!desktop->hotKeys.start(&X11Platform::postMessage))
        return nullptr;
    return std::unique_ptr<X11Platform>(new X11Platform(std::move(desktop)));
}

X11Platform::X11Platform(std::unique_ptr<Desktop> desktop) : d(std::move(desktop)) {}

X11Platform::~X11Platform() = default;

UINT X11Platform::sendInput(UINT count, const INPUT* inputs, int recordSize)
{
    if (recordSize != static_cast<int>(sizeof(INPUT)) || inputs == nullptr)
        return X11LastError::fail(ERROR_INVALID_PARAMETER);
    std::lock_guard lock(d->inputMutex);
    return d->input.sendInput(count, inputs);
}

bool X11Platform::getCursorPos(POINT& point)
{
    std::lock_guard lock(d->inputMutex);
    return d->screens.getCursorPos(point);
}

int X11Platform::getSystemMetrics(int index)
{
    std::lock_guard lock(d->inputMutex);
    return d->screens.getSystemMetrics(index);
}

SHORT X11Platform::getAsyncKeyState(int virtualKey)
{
    std::lock_guard lock(d->inputMutex);
    return d->keyState.keyState(virtualKey, false);
}

SHORT X11Platform::getKeyState(int virtualKey)
{
    std::lock_guard lock(d->inputMutex);
    return d->keyState.keyState(virtualKey, true);
}

LONGLONG X11Platform::queryPerformanceCounter()
{
    return MonotonicClock::now();
}

LONGLONG X11Platform::queryPerformanceFrequency()
{
    return MonotonicClock::kTicksPerSecond;
}

void X11Platform::sleepUntil(LONGLONG counter)
{
    MonotonicClock::sleepUntil(counter);
}

bool X11Platform::sleepsPrecisely()
{
    return true;
}

BOOL X11Platform::registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey)
{
    KeyCode keycode = 0;
    {
        std::lock_guard lock(d->inputMutex);
        keycode = d->layouts.keycodeOfVirtualKey(static_cast<int>(virtualKey));
    }
    return d->hotKeys.registerHotKey(window, id, modifiers, virtualKey, keycode);
}

BOOL X11Platform::unregisterHotKey(HWND window, int id)
{
    return d->hotKeys.unregisterHotKey(window, id);
}

DWORD X11Platform::getLastError()
{
    return X11LastError::value;
}

std::wstring X11Platform::formatMessage(DWORD messageId)
{
    return systemMessageText(messageId);
}

int X11Platform::getKeyboardLayoutList(int count, HKL* layouts)
{
    std::lock_guard lock(d->inputMutex);
    return d->layouts.getKeyboardLayoutList(count, layouts);
}

HKL X11Platform::getKeyboardLayout(DWORD /*threadId*/)
{
    std::lock_guard lock(d->inputMutex);
    return d->layouts.getKeyboardLayout();
}

SHORT X11Platform::vkKeyScanEx(WCHAR character, HKL layout)
{
    std::lock_guard lock(d->inputMutex);
    return d->layouts.vkKeyScanEx(character, layout);
}

UINT X11Platform::virtualKeyOfKeyEvent(UINT nativeScanCode, UINT /*nativeVirtualKey*/)
{
    if (nativeScanCode < X11Keys::kKeycodeOffset)
        return 0;
    return static_cast<UINT>(
        X11Keys::virtualKeyOfInputCode(static_cast<int>(nativeScanCode) - X11Keys::kKeycodeOffset));
}

HHOOK X11Platform::setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE /*module*/,
                                    DWORD threadId)
{
    return d->mouseHook.setWindowsHookEx(hookId, procedure, threadId);
}

BOOL X11Platform::unhookWindowsHookEx(HHOOK hook)
{
    return d->mouseHook.unhookWindowsHookEx(hook);
}

LRESULT X11Platform::callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    return d->mouseHook.callNextHookEx(hook, code, wParam, lParam);
}

bool X11Platform::registerRawMouseInput(RawMouseProc procedure)
{
    return d->mouseHook.registerRawMouseInput(procedure);
}

int X11Platform::hookEventDescriptor()
{
    return d->mouseHook.hookEventDescriptor();
}

void X11Platform::processHookEvents()
{
    d->mouseHook.processHookEvents();
}

bool X11Platform::watchForeground(ForegroundReceiver receiver)
{
    return d->foreground.watch(std::move(receiver));
}

} // namespace platform
