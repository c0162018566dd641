// The autoclicker's engine in mode HotkeyToggle, clicking the left button on the X11 desktop
// every <interval> ms without moving, until <clicks> ticks and a little more have passed;
// for x11-bench.sh. Usage: x11_autoclicker_clicker <interval ms> <clicks>
#include "autoclicker/AutoClicker.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

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
    QTimer::singleShot(0, &clicker, &AutoClicker::start);
    QTimer::singleShot((clicks + 3) * interval + 500, &app, [&] {
        clicker.stop();
        app.quit();
    });
    const int code = app.exec();
    platform::Platform::setCurrent(nullptr);
    return code;
}
