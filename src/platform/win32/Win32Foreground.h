#pragma once

#include "../Platform.h"

namespace platform {

// Which program is in front: an out-of-context event hook for EVENT_SYSTEM_FOREGROUND, called
// on the message loop of the thread that installed it, names the program of each window that
// comes to the front by its executable's file name, and says whether it runs elevated. A
// process the program may not open (a protected one) is named by the window's class instead,
// and a store app, whose windows ApplicationFrameHost.exe frames, by the process of the frame's
// child window.
//
// Where the event never comes (Wine 8 sends none), a timer of the same thread compares the
// window in front every kPollMs. The hook and the timer share the last window reported, so
// each change is reported once, by whichever notices it first.
class Win32Foreground
{
public:
    static constexpr UINT kPollMs = 250;

    Win32Foreground() = default;
    ~Win32Foreground();
    Win32Foreground(const Win32Foreground&) = delete;
    Win32Foreground& operator=(const Win32Foreground&) = delete;

    bool watch(Platform::ForegroundReceiver receiver);

    // The program of a window, as the watcher reports it.
    static ForegroundProgram programOf(HWND window);

private:
    static void CALLBACK onForeground(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                      LONG child, DWORD thread, DWORD time);
    static void CALLBACK onPoll(HWND window, UINT message, UINT_PTR timer, DWORD time);
    static void report(HWND window);
    void stop();

    HWINEVENTHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
};

} // namespace platform
