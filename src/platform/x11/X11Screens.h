#pragma once

#include "../WinApi.h"

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>

namespace platform {

// The screens as Windows measures them, from the root window and the RandR monitors: the
// primary screen's top-left corner is (0, 0), the virtual desktop is the root window. Read
// through the callers' connection, again when the server announces a change (on the
// listening connection of the hotkeys) and after a while.
class X11Screens
{
public:
    // The primary screen in root-window pixels, the root window and the monitors.
    struct Area
    {
        LONG primaryLeft = 0;
        LONG primaryTop = 0;
        LONG primaryWidth = 0;
        LONG primaryHeight = 0;
        LONG rootWidth = 0;
        LONG rootHeight = 0;
        int monitors = 1;
    };

    // display is the callers' connection; whether its server has RandR monitors is asked here.
    explicit X11Screens(Display* display);
    X11Screens(const X11Screens&) = delete;
    X11Screens& operator=(const X11Screens&) = delete;

    // With the callers' connection's lock held.
    const Area& current();
    bool getCursorPos(POINT& point);
    int getSystemMetrics(int index);
    // The root-window pixel of the point of an absolute move: 0..65535 spans the primary
    // screen or, with wholeDesktop, the whole root window.
    POINT pixelOfAbsoluteMove(LONG dx, LONG dy, bool wholeDesktop);

    // On any thread: a root-window point in Windows' coordinates, for the events read on
    // other connections.
    POINT fromRoot(int rootX, int rootY) const
    {
        return {rootX - m_primaryLeft.load(), rootY - m_primaryTop.load()};
    }

    // On the listening connection, before its reading thread starts: asks the server to
    // announce changes of the screens.
    void listen(Display* listener);
    // On the listening thread: takes an event that announces a change; false for others.
    bool handleEvent(XEvent& event);

private:
    Display* m_display;
    Window m_root;
    bool m_hasMonitors = false;
    Area m_area;
    unsigned int m_read = 0;
    std::chrono::steady_clock::time_point m_readAt;
    int m_eventBase = -1;
    std::atomic<unsigned int> m_changes{1};
    std::atomic<LONG> m_primaryLeft{0};
    std::atomic<LONG> m_primaryTop{0};
};

} // namespace platform
