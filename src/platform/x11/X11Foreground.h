#pragma once

#include "../Platform.h"
#include "X11Connection.h"

#include <array>
#include <atomic>
#include <mutex>
#include <thread>

namespace platform {

// Which program is in front, as the window manager says: a connection of its own listens for
// changes of _NET_ACTIVE_WINDOW on the root window, and a thread of its own reads them and
// names the program of the window (the executable through _NET_WM_PID and /proc, the WM_CLASS
// of the window or, for a frame or a child, of the nearest ancestor that has one). A window
// that vanishes meanwhile gives only the names still known.
class X11Foreground
{
public:
    X11Foreground() = default;
    ~X11Foreground();
    X11Foreground(const X11Foreground&) = delete;
    X11Foreground& operator=(const X11Foreground&) = delete;

    bool watch(Platform::ForegroundReceiver receiver);

private:
    bool start();
    void stop();
    void readEvents();
    void report(); // on the reading thread
    ForegroundProgram programOf(Window window) const;

    std::mutex m_mutex; // watch() one caller at a time
    X11Connection m_connection;
    Atom m_activeWindow = None;
    Atom m_pid = None;
    std::array<int, 2> m_wakePipe{-1, -1};
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
    Platform::ForegroundReceiver m_receiver; // read by the thread only while it runs
};

} // namespace platform
