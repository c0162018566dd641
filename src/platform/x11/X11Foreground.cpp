#include "X11Foreground.h"

#include "../ProcessNames.h"
#include "ProcProcessTable.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

// One CARDINAL or WINDOW of a window's property; 0 when missing or the window is gone.
unsigned long propertyValue(Display* display, Window window, Atom property, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &format,
                           &count, &remaining, &data) == Success &&
        data && actualType == type && format == 32 && count == 1)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return value;
}

} // namespace

X11Foreground::~X11Foreground()
{
    stop();
}

bool X11Foreground::watch(Platform::ForegroundReceiver receiver)
{
    std::lock_guard lock(m_mutex);
    stop();
    m_receiver = std::move(receiver);
    return !m_receiver || start();
}

bool X11Foreground::start()
{
    m_connection = openX11Connection();
    Display* display = m_connection.get();
    if (!display)
        return false;
    m_activeWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    m_pid = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
    XSync(display, False);
    if (::pipe(m_wakePipe.data()) != 0) {
        m_connection.reset();
        return false;
    }
    for (int descriptor : m_wakePipe)
        ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    m_stopping.store(false);
    m_thread = std::thread([this] { readEvents(); });
    return true;
}

void X11Foreground::stop()
{
    if (m_thread.joinable()) {
        m_stopping.store(true);
        const char wake = 1;
        [[maybe_unused]] const auto written = ::write(m_wakePipe[1], &wake, 1);
        m_thread.join();
    }
    for (int& descriptor : m_wakePipe) {
        if (descriptor >= 0)
            ::close(descriptor);
        descriptor = -1;
    }
    m_connection.reset();
}

void X11Foreground::readEvents()
{
    Display* display = m_connection.get();
    report(); // the program in front now
    pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    while (!m_stopping.load()) {
        bool changed = false;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            changed =
                changed || (event.type == PropertyNotify && event.xproperty.atom == m_activeWindow);
        }
        if (changed)
            report();
        if (::poll(watched, 2, -1) < 0 && errno != EINTR)
            return;
    }
}

void X11Foreground::report()
{
    Display* display = m_connection.get();
    const Window active =
        propertyValue(display, DefaultRootWindow(display), m_activeWindow, XA_WINDOW);
    m_receiver(active == None ? ForegroundProgram{} : programOf(active));
}

ForegroundProgram X11Foreground::programOf(Window window) const
{
    Display* display = m_connection.get();
    const Window root = DefaultRootWindow(display);
    XClassHint hint{nullptr, nullptr};
    // The window manager may name its frame, or an application a child: the client window is
    // the nearest one up the tree that carries WM_CLASS. Any call fails harmlessly once the
    // window is gone (this backend's error handler drops the error).
    for (Window current = window; current != None && current != root;) {
        if (XGetClassHint(display, current, &hint)) {
            window = current;
            break;
        }
        Window parentRoot = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, current, &parentRoot, &parent, &children, &count))
            break;
        if (children)
            XFree(children);
        current = parent;
    }
    const unsigned long pid = propertyValue(display, window, m_pid, XA_CARDINAL);
    const auto wideOf = [](const char* text) {
        return text ? wideFromLocal(text) : std::wstring();
    };
    ForegroundProgram program =
        programOfProcess(static_cast<std::uint32_t>(pid),
                         {wideOf(hint.res_name), wideOf(hint.res_class)}, ProcProcessTable());
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return program;
}

} // namespace platform
