#pragma once

#include "../Platform.h"

namespace platform {

// Which program is in front: an out-of-context event hook for EVENT_SYSTEM_FOREGROUND, called
// on the message loop of the thread that installed it, names the program of each window that
// comes to the front by its executable's file name. A process the program may not open (an
// elevated one) is named by the window's class instead, and a store app, whose windows
// ApplicationFrameHost.exe frames, by the process of the frame's child window.
class Win32Foreground
{
public:
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
    void stop();

    HWINEVENTHOOK m_hook = nullptr;
};

} // namespace platform
