#include "ClickRecorder.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

ClickRecorder::ClickRecorder()
{
    Display* display = XOpenDisplay(nullptr);
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!display || !XQueryExtension(display, "XInputExtension", &m_opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        if (display)
            XCloseDisplay(display);
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    m_display = display;
}

ClickRecorder::~ClickRecorder()
{
    if (m_display)
        XCloseDisplay(m_display);
}

int ClickRecorder::presses()
{
    if (!m_display)
        return 0;
    XSync(m_display, False);
    while (XPending(m_display) > 0) {
        XEvent next;
        XNextEvent(m_display, &next);
        XGenericEventCookie& cookie = next.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != m_opcode ||
            !XGetEventData(m_display, &cookie))
            continue;
        if (cookie.evtype == XI_RawButtonPress &&
            static_cast<const XIRawEvent*>(cookie.data)->detail == 1)
            ++m_presses;
        XFreeEventData(m_display, &cookie);
    }
    return m_presses;
}
