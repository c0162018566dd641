#include "X11Screens.h"

#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

// How long the screens read are used while the server announces no change.
constexpr auto kScreensKeptFor = std::chrono::milliseconds(500);

LONG toPixel(LONG normalised, LONG extent)
{
    const std::int64_t span = extent >= 2 ? extent - 1 : 1;
    return static_cast<LONG>(
        std::clamp<std::int64_t>((std::int64_t{normalised} * span + 32767) / 65535, 0, span));
}

} // namespace

X11Screens::X11Screens(Display* display) : m_display(display), m_root(DefaultRootWindow(display))
{
    int event = 0, error = 0, major = 1, minor = 5;
    m_hasMonitors = XRRQueryExtension(display, &event, &error) &&
                    XRRQueryVersion(display, &major, &minor) && (major > 1 || minor >= 5);
}

const X11Screens::Area& X11Screens::current()
{
    // The server announces new modes and monitors plugged in, but not the monitors a
    // client defines (xrandr --setmonitor): those are seen by reading again after a while.
    const unsigned int changes = m_changes.load();
    const auto now = std::chrono::steady_clock::now();
    if (changes == m_read && now - m_readAt < kScreensKeptFor)
        return m_area;
    Window rootReturn = 0;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(m_display, m_root, &rootReturn, &x, &y, &width, &height, &border, &depth);
    Area read;
    read.rootWidth = static_cast<LONG>(width);
    read.rootHeight = static_cast<LONG>(height);
    read.primaryWidth = read.rootWidth;
    read.primaryHeight = read.rootHeight;
    int count = 0;
    XRRMonitorInfo* monitors =
        m_hasMonitors ? XRRGetMonitors(m_display, m_root, True, &count) : nullptr;
    if (monitors && count > 0) {
        // The monitor marked primary, else the first.
        const XRRMonitorInfo* primary =
            std::find_if(monitors, monitors + count,
                         [](const XRRMonitorInfo& monitor) { return monitor.primary; });
        if (primary == monitors + count)
            primary = monitors;
        read.primaryLeft = primary->x;
        read.primaryTop = primary->y;
        read.primaryWidth = primary->width;
        read.primaryHeight = primary->height;
        read.monitors = count;
    }
    if (monitors)
        XRRFreeMonitors(monitors);
    m_area = read;
    m_primaryLeft.store(read.primaryLeft);
    m_primaryTop.store(read.primaryTop);
    m_read = changes;
    m_readAt = now;
    return m_area;
}

bool X11Screens::getCursorPos(POINT& point)
{
    Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(m_display, m_root, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                       &mask))
        return false;
    // Windows counts from the primary screen's top-left corner.
    const Area& area = current();
    point = {rootX - area.primaryLeft, rootY - area.primaryTop};
    return true;
}

int X11Screens::getSystemMetrics(int index)
{
    const Area& area = current();
    switch (index) {
    case SM_CXSCREEN:
        return area.primaryWidth;
    case SM_CYSCREEN:
        return area.primaryHeight;
    case SM_XVIRTUALSCREEN:
        return -area.primaryLeft;
    case SM_YVIRTUALSCREEN:
        return -area.primaryTop;
    case SM_CXVIRTUALSCREEN:
        return area.rootWidth;
    case SM_CYVIRTUALSCREEN:
        return area.rootHeight;
    case SM_CMONITORS:
        return area.monitors;
    default:
        return 0;
    }
}

POINT X11Screens::pixelOfAbsoluteMove(LONG dx, LONG dy, bool wholeDesktop)
{
    const Area& area = current();
    const LONG left = wholeDesktop ? 0 : area.primaryLeft;
    const LONG top = wholeDesktop ? 0 : area.primaryTop;
    const LONG width = wholeDesktop ? area.rootWidth : area.primaryWidth;
    const LONG height = wholeDesktop ? area.rootHeight : area.primaryHeight;
    return {left + toPixel(dx, width), top + toPixel(dy, height)};
}

void X11Screens::listen(Display* listener)
{
    int error = 0;
    if (XRRQueryExtension(listener, &m_eventBase, &error)) {
        XRRSelectInput(listener, DefaultRootWindow(listener),
                       RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask |
                           RROutputChangeNotifyMask);
    } else {
        m_eventBase = -1;
    }
}

bool X11Screens::handleEvent(XEvent& event)
{
    if (m_eventBase < 0 || event.type < m_eventBase || event.type >= m_eventBase + RRNumberEvents)
        return false;
    XRRUpdateConfiguration(&event);
    ++m_changes;
    return true;
}

} // namespace platform
