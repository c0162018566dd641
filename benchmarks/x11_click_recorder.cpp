// Records when left-button presses reach the X server, whichever client sends them, through
// XInput2 raw events on the root window, and reports the rhythm of the first N of them: the
// mean interval between two presses, its standard deviation and the 99th percentile of the
// intervals' distance from the mean; given the interval aimed at, also the mean absolute
// error against it and the 99th percentile of that error.
// Usage: x11_click_recorder <presses> [target interval ms]. Prints "ready" once it listens,
// then the result.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char* argv[])
{
    const int presses = argc > 1 ? std::atoi(argv[1]) : 300;
    const double target = argc > 2 ? std::atof(argv[2]) : 0.0;
    Display* display = XOpenDisplay(nullptr);
    int opcode = 0, event = 0, error = 0, major = 2, minor = 2;
    if (!display || presses < 2 ||
        !XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        std::fprintf(stderr,
                     "x11_click_recorder: no display with XInput2, or fewer than 2 presses\n");
        return 1;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);

    // The time of arrival at this client: the server's own time stamps count milliseconds only.
    // A clicker that stops short (or started before this listened) leaves the recorder to
    // report what it saw after five quiet seconds.
    std::vector<double> arrivals;
    while (static_cast<int>(arrivals.size()) < presses) {
        if (XPending(display) == 0) {
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            if (poll(&connection, 1, 5000) <= 0)
                break;
        }
        XEvent next;
        XNextEvent(display, &next);
        const double now = std::chrono::duration<double, std::milli>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
        XGenericEventCookie& cookie = next.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != opcode ||
            !XGetEventData(display, &cookie))
            continue;
        if (cookie.evtype == XI_RawButtonPress &&
            static_cast<const XIRawEvent*>(cookie.data)->detail == 1)
            arrivals.push_back(now);
        XFreeEventData(display, &cookie);
    }
    XCloseDisplay(display);
    if (arrivals.size() < 2) {
        std::printf("presses %zu: too few to time\n", arrivals.size());
        return 1;
    }

    std::vector<double> intervals;
    for (std::size_t i = 1; i < arrivals.size(); ++i)
        intervals.push_back(arrivals[i] - arrivals[i - 1]);
    double mean = 0;
    for (double interval : intervals)
        mean += interval;
    mean /= static_cast<double>(intervals.size());
    double variance = 0;
    std::vector<double> deviations;
    std::vector<double> errors;
    double absoluteError = 0;
    for (double interval : intervals) {
        variance += (interval - mean) * (interval - mean);
        deviations.push_back(std::fabs(interval - mean));
        errors.push_back(std::fabs(interval - target));
        absoluteError += errors.back();
    }
    variance /= static_cast<double>(intervals.size() - 1);
    const auto p99 = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[static_cast<std::size_t>(
                          std::ceil(0.99 * static_cast<double>(values.size()))) -
                      1];
    };
    std::printf("presses %zu  mean %.3f ms  sd %.3f ms  p99 |interval - mean| %.3f ms",
                arrivals.size(), mean, std::sqrt(variance), p99(deviations));
    if (target > 0) {
        std::printf("  mae %.3f ms  p99 |interval - %g| %.3f ms",
                    absoluteError / static_cast<double>(intervals.size()), target, p99(errors));
    }
    std::printf("\n");
    return 0;
}
