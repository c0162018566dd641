#pragma once

#include "ForegroundProgram.h"
#include "WinApi.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// The program's one door to the operating system: input injection, cursor and screen
// metrics, key and button state, the performance counter, system hotkeys and keyboard
// layouts and the low-level mouse hook, in Windows terms. The rest of the program asks
// Platform::current() and never the OS itself, so a backend (the real Windows calls, or the
// simulated desktop used by tests) can be swapped underneath it.
class Platform
{
public:
    virtual ~Platform() = default;

    // SendInput: sends count records of recordSize bytes; returns how many were inserted.
    virtual UINT sendInput(UINT count, const INPUT* inputs, int recordSize) = 0;
    // GetCursorPos: the cursor position in virtual-desktop pixels.
    virtual bool getCursorPos(POINT& point) = 0;
    // GetSystemMetrics for the SM_* indices of screens and the virtual desktop.
    virtual int getSystemMetrics(int index) = 0;
    // GetAsyncKeyState: high bit set while the key or button is physically down.
    virtual SHORT getAsyncKeyState(int virtualKey) = 0;
    // GetKeyState: high bit for down, low bit for the toggle (Caps Lock and friends).
    virtual SHORT getKeyState(int virtualKey) = 0;
    // QueryPerformanceCounter and QueryPerformanceFrequency (ticks per second).
    virtual LONGLONG queryPerformanceCounter() = 0;
    virtual LONGLONG queryPerformanceFrequency() = 0;
    // Blocks the calling thread until the performance counter reads about counter (at once
    // when it does already), on the system's finest timer (Windows: a high-resolution
    // waitable timer; Linux: clock_nanosleep). The system wakes the thread when it gets round
    // to it, a little late and now and then a little early: a caller that must meet the
    // moment exactly sleeps to shortly before it and reads the counter for the rest.
    virtual void sleepUntil(LONGLONG counter) = 0;
    // Whether sleepUntil wakes the calling thread within a fraction of a millisecond of its
    // moment (Linux: clock_nanosleep; Windows: the high-resolution waitable timer, from
    // Windows 10 1803 on) rather than on the system's timer tick (Windows' standard timer).
    virtual bool sleepsPrecisely() = 0;

    // RegisterHotKey and UnregisterHotKey. With no window, WM_HOTKEY (wParam the id, lParam
    // the modifiers in the low word and the virtual key in the high word) is posted to the
    // calling thread. On failure the reason is left for getLastError().
    virtual BOOL registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) = 0;
    virtual BOOL unregisterHotKey(HWND window, int id) = 0;
    // GetLastError of the calling thread.
    virtual DWORD getLastError() = 0;
    // FormatMessageW from the system's table in the default language: the text of an error
    // code as the system words it, empty when the system has none.
    virtual std::wstring formatMessage(DWORD messageId) = 0;
    // GetKeyboardLayoutList: with count 0 the number of installed layouts, otherwise up to
    // count layouts copied into layouts, in the system's order, and how many were copied.
    virtual int getKeyboardLayoutList(int count, HKL* layouts) = 0;
    // GetKeyboardLayout: the layout the thread (0: the calling thread) types with now.
    virtual HKL getKeyboardLayout(DWORD threadId) = 0;
    // VkKeyScanExW: the key that types a character in a layout (low byte the virtual key,
    // high byte the shift state), or -1 when no key of the layout types it.
    virtual SHORT vkKeyScanEx(WCHAR character, HKL layout) = 0;
    // The virtual key of the physical key behind a key event of the GUI toolkit, from the
    // event's native scan code and native virtual key: on Windows the native virtual key is
    // that already; a backend whose toolkit reports something else (X11 gives the keycode and
    // the keysym) works it out from the physical key. 0 when unknown.
    virtual UINT virtualKeyOfKeyEvent(UINT nativeScanCode, UINT nativeVirtualKey)
    {
        (void)nativeScanCode;
        return nativeVirtualKey;
    }

    // SetWindowsHookExW, UnhookWindowsHookEx and CallNextHookEx (WH_MOUSE_LL and
    // WH_KEYBOARD_LL). Input that SendInput made carries LLMHF_INJECTED or LLKHF_INJECTED.
    virtual HHOOK setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE module,
                                   DWORD threadId) = 0;
    virtual BOOL unhookWindowsHookEx(HHOOK hook) = 0;
    virtual LRESULT callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) = 0;
    // Windows calls a thread's hook procedures while the thread runs its event loop. A
    // backend whose system cannot (X11) gives the loop a descriptor to watch instead: it
    // becomes readable when events for the calling thread's hooks arrive, and
    // processHookEvents() then calls the hooks with them. -1 when there is nothing to watch.
    virtual int hookEventDescriptor() { return -1; }
    virtual void processHookEvents() {}

    // Raw mouse input, the movement as the device reports it before the system's acceleration
    // (Windows: RegisterRawInputDevices for the mouse with RIDEV_INPUTSINK, the WM_INPUT of a
    // message-only window of the calling thread read with GetRawInputData; X11: XInput2 raw
    // motion). The procedure is called like the calling thread's hooks, from its event loop,
    // with injected set for input SendInput made (Windows: a report without a device). One
    // procedure for the process; nullptr, from the same thread, ends the reports. False when
    // the system gives no raw input.
    using RawMouseProc = void (*)(const RAWMOUSE& mouse, bool injected);
    virtual bool registerRawMouseInput(RawMouseProc procedure) = 0;

    // Reports the program in front: the receiver is called with the program in front now and
    // again each time another window comes to the front (Windows: SetWinEventHook for
    // EVENT_SYSTEM_FOREGROUND, on the calling thread's message loop; other backends: on any
    // thread). A new receiver replaces the old one; an empty one stops the reports, and once
    // this returns the old receiver is not called any more. False when the desktop cannot
    // tell which window is in front.
    using ForegroundReceiver = std::function<void(const ForegroundProgram& program)>;
    virtual bool watchForeground(ForegroundReceiver receiver) = 0;
    // The program in front now, as watchForeground names it; no names when the desktop cannot
    // tell.
    virtual ForegroundProgram programInFront() { return {}; }

    // Whether this process runs with the administrator's rights (Windows: its token is
    // elevated). Systems that do not keep programs of one user apart by such rights say false.
    virtual bool isElevated() { return false; }
    // Starts `program` with `parameters` (one command-line string, quoted as the program
    // reads it) with the administrator's rights (Windows: ShellExecuteExW with the verb
    // "runas", which shows the system's consent prompt to a process without those rights; the
    // call returns once the user answered it). ERROR_SUCCESS when the program started, else
    // the system's error (ERROR_CANCELLED: the user refused; ERROR_NOT_SUPPORTED: the system
    // has no such start). `finished`, when given, is called once with the program's exit code
    // when it ends (STILL_ACTIVE, 259, when the system gave no process to wait for), on a
    // thread of its own; it may outlive this object.
    using ExitReceiver = std::function<void(DWORD exitCode)>;
    virtual DWORD startElevated(const std::wstring& program, const std::wstring& parameters,
                                ExitReceiver finished)
    {
        static_cast<void>(program);
        static_cast<void>(parameters);
        static_cast<void>(finished);
        return ERROR_NOT_SUPPORTED;
    }

    // Marks this process as running, under `name`, for the other programs of the user's
    // session to see until it ends. Windows: a named mutex, which the installer and the
    // uninstaller look for; other systems have no one who asks.
    virtual void markRunning(const std::wstring& name) { static_cast<void>(name); }

    // Receives the thread messages (WM_HOTKEY) of backends whose system does not post them
    // into the GUI thread's own message queue, as Windows does. The GUI layer installs it and
    // hands each message to its thread's native event filters; it may be called on any thread.
    using MessageReceiver = void (*)(const MSG& message);
    static void setMessageReceiver(MessageReceiver receiver);

    // The process-wide backend. Until one is installed, the native default is created.
    static Platform& current()
    {
        Platform* platform = s_current.load(std::memory_order_acquire);
        return platform ? *platform : installDefault();
    }
    // Installs a backend the caller keeps alive; nullptr returns to the native default.
    static void setCurrent(Platform* platform);

protected:
    // Hands a thread message to the receiver; dropped while none is installed.
    static void postMessage(const MSG& message);

private:
    static Platform& installDefault();
    static std::atomic<Platform*> s_current;
    static std::atomic<MessageReceiver> s_messageReceiver;
};

// How far the program reaches the desktop it runs on.
enum class DesktopSupport
{
    Supported,          // the system's own input, hotkeys and mouse hook
    SimulatedOnRequest, // the simulated desktop, asked for (CLAVITOR_SIMULATED_DESKTOP)
    NoBackend,          // a desktop this build has no backend for (a Wayland session, ...):
                        // the simulated desktop stands in
    MissingExtensions,  // an X server without XTEST or XKB: the simulated desktop stands in
};

// The backend for a Qt platform plugin name ("windows", "xcb", "offscreen", ...): the real
// one where this build has it, the simulated desktop everywhere else. *support, when given,
// says which it is and why.
std::unique_ptr<Platform> createPlatform(std::string_view qtPlatformName,
                                         DesktopSupport* support = nullptr);

} // namespace platform
