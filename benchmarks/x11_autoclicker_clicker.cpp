// The autoclicker's engine in mode HotkeyToggle, clicking the left button on the X11 desktop
// every <interval> ms without moving, until <clicks> ticks and a little more have passed;
// for x11-bench.sh. Prints "run-cpu P": the processor time the process took while its
// <clicks> ticks ran, as a share of that time in percent (start-up and shutdown left out).
// Usage: x11_autoclicker_clicker <interval ms> <clicks>
#include "autoclicker/AutoClicker.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

// User and system time of the process so far, in ms.
double processorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int interval = argc > 1 ? std::atoi(argv[1]) : 10;
    const int clicks = argc > 2 ? std::atoi(argv[2]) : 300;
    const std::unique_ptr<platform::Platform> backend =
        platform::createPlatform(QGuiApplication::platformName().toStdString());
    if (!dynamic_cast<platform::X11Platform*>(backend.get()) || interval <= 0 || clicks <= 0) {
        std::fprintf(stderr, "x11_autoclicker_clicker: needs the X11 desktop "
                             "(QT_QPA_PLATFORM=xcb), an interval and a number of clicks\n");
        return 1;
    }
    platform::Platform::setCurrent(backend.get());

    // As the page starts it for a profile of mouse clicks without movement.
    AutoClicker clicker;
    clicker.setInterval(interval);
    clicker.setClickEnabled(true);
    clicker.setMouseButton(Qt::LeftButton);
    clicker.setOffset({});
    clicker.setSmoothMove(false);
    clicker.setClicksPerTick(1);
    clicker.setMode(AutoClicker::HotkeyToggle);
    clicker.setIntervalRandomization(0);
    clicker.setOffsetRandomization(0);
    QElapsedTimer running;
    double processorAtStart = 0;
    QTimer::singleShot(0, &clicker, [&] {
        running.start();
        processorAtStart = processorMs();
        clicker.start();
    });
    // The last of the ticks is due (clicks - 1) intervals after the first.
    QTimer::singleShot(clicks * interval, &app, [&] {
        std::printf("run-cpu %.1f\n",
                    100 * (processorMs() - processorAtStart) / double(running.elapsed()));
    });
    QTimer::singleShot((clicks + 3) * interval + 500, &app, [&] {
        clicker.stop();
        app.quit();
    });
    const int code = app.exec();
    platform::Platform::setCurrent(nullptr);
    return code;
}
