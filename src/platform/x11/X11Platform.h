#pragma once

#include "../Platform.h"

#include <memory>

namespace platform {

// The X11 desktop (the display of $DISPLAY): input through XTEST, cursor and screens from
// the pointer and RandR, key, button and lock states, hotkeys as passive key grabs on the
// root window, keyboard layouts from the XKB groups, the low-level hooks and raw mouse input
// fed by XInput2 raw events, and the program in front from the window manager's
// _NET_ACTIVE_WINDOW.
//
// Connections and threads: the calling (GUI) thread's requests go through one connection;
// the hotkey grabs live on a second one, read by a thread of the backend that posts the
// presses through Platform's message receiver; every thread that installs a hook or
// registers for raw input gets a connection of its own, which its event loop watches
// (hookEventDescriptor()).
//
// X cannot tell one client's XTEST events from another's: a button, key or motion event that
// matches one this backend has sent and not yet seen come back counts as injected, every
// other one as physical, other programs' synthetic input included.
//
// The work is done by parts with one job each (X11Input, X11KeyState, X11Screens,
// X11KeyboardLayouts, X11HotKeys, X11MouseHook, X11Foreground); this class holds them and
// hands each call to its part.
class X11Platform : public Platform
{
public:
    // Connects to the display; nullptr when it cannot be reached or lacks XTEST or XKB.
    static std::unique_ptr<X11Platform> open();
    ~X11Platform() override;

    UINT sendInput(UINT count, const INPUT* inputs, int recordSize) override;
    bool getCursorPos(POINT& point) override;
    int getSystemMetrics(int index) override;
    SHORT getAsyncKeyState(int virtualKey) override;
    SHORT getKeyState(int virtualKey) override;
    LONGLONG queryPerformanceCounter() override;
    LONGLONG queryPerformanceFrequency() override;
    void sleepUntil(LONGLONG counter) override;
    bool sleepsPrecisely() override;
    BOOL registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) override;
    BOOL unregisterHotKey(HWND window, int id) override;
    DWORD getLastError() override;
    std::wstring formatMessage(DWORD messageId) override;
    int getKeyboardLayoutList(int count, HKL* layouts) override;
    HKL getKeyboardLayout(DWORD threadId) override;
    SHORT vkKeyScanEx(WCHAR character, HKL layout) override;
    // The key as a US keyboard names it, whatever layout is active: the keycode is the
    // physical key.
    UINT virtualKeyOfKeyEvent(UINT nativeScanCode, UINT nativeVirtualKey) override;
    HHOOK setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE module,
                           DWORD threadId) override;
    BOOL unhookWindowsHookEx(HHOOK hook) override;
    LRESULT callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) override;
    bool registerRawMouseInput(RawMouseProc procedure) override;
    int hookEventDescriptor() override;
    void processHookEvents() override;
    bool watchForeground(ForegroundReceiver receiver) override;

private:
    struct Desktop;
    explicit X11Platform(std::unique_ptr<Desktop> desktop);

    std::unique_ptr<Desktop> d;
};

} // namespace platform
