#include "ClickRecorder.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <utility>

namespace {

// The raw values of a motion's x and y valuators (0 and 1), 0 for one it does not carry.
QString motionText(const XIRawEvent& event)
{
    double values[2] = {};
    const double* raw = event.raw_values;
    for (int valuator = 0; valuator < event.valuators.mask_len * 8; ++valuator) {
        if (!XIMaskIsSet(event.valuators.mask, valuator))
            continue;
        if (valuator < 2)
            values[valuator] = *raw;
        ++raw;
    }
    return QStringLiteral("move %1,%2").arg(values[0]).arg(values[1]);
}

} // namespace

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
    for (int type :
         {XI_RawButtonPress, XI_RawButtonRelease, XI_RawKeyPress, XI_RawKeyRelease, XI_RawMotion})
        XISetMask(bits, type);
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

void ClickRecorder::read()
{
    if (!m_display)
        return;
    XSync(m_display, False);
    while (XPending(m_display) > 0) {
        XEvent next;
        XNextEvent(m_display, &next);
        XGenericEventCookie& cookie = next.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != m_opcode ||
            !XGetEventData(m_display, &cookie))
            continue;
        const auto& raw = *static_cast<const XIRawEvent*>(cookie.data);
        QString what;
        switch (cookie.evtype) {
        case XI_RawButtonPress:
            m_presses += raw.detail == 1;
            what = QStringLiteral("press %1").arg(raw.detail);
            break;
        case XI_RawButtonRelease:
            what = QStringLiteral("release %1").arg(raw.detail);
            break;
        case XI_RawKeyPress:
            what = QStringLiteral("key %1").arg(raw.detail);
            break;
        case XI_RawKeyRelease:
            what = QStringLiteral("key up %1").arg(raw.detail);
            break;
        case XI_RawMotion:
            what = motionText(raw);
            break;
        }
        if (!what.isEmpty())
            m_events.append({static_cast<qint64>(raw.time), what});
        XFreeEventData(m_display, &cookie);
    }
}

int ClickRecorder::presses()
{
    read();
    return m_presses;
}

QList<ClickRecorder::Event> ClickRecorder::takeEvents()
{
    read();
    return std::exchange(m_events, {});
}
