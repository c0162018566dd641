#pragma once

#include "WinApi.h"

#include <atomic>
#include <memory>
#include <string_view>

namespace platform {

// The program's one door to the operating system: input injection, cursor and screen
// metrics, key and button state and the performance counter, in Windows terms. The rest
// of the program asks Platform::current() and never the OS itself, so a backend (the real
// Windows calls, or the simulated desktop used by tests) can be swapped underneath it.
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

    // The process-wide backend. Until one is installed, the native default is created.
    static Platform& current()
    {
        Platform* platform = s_current.load(std::memory_order_acquire);
        return platform ? *platform : installDefault();
    }
    // Installs a backend the caller keeps alive; nullptr returns to the native default.
    static void setCurrent(Platform* platform);

private:
    static Platform& installDefault();
    static std::atomic<Platform*> s_current;
};

// The backend for a Qt platform plugin name ("windows", "xcb", "offscreen", ...): the real
// one where this build has it, the simulated desktop everywhere else.
std::unique_ptr<Platform> createPlatform(std::string_view qtPlatformName);

} // namespace platform
