#pragma once

#include "platform/Platform.h"

#include <QString>

#include <memory>

class FramelessWindow;
class QApplication;
class QWidget;

// The program's start-up order on the GUI thread, from the application object to the end
// of the event loop.
class Startup
{
public:
    // Runs the program on an application object that already exists, on a desktop reached as
    // `support` says; returns the exit code.
    static int run(QApplication& app, platform::DesktopSupport support);

    // Creates the main window with the main widget as its content, gives it its start height,
    // centres it on the primary screen and shows it.
    static std::unique_ptr<FramelessWindow> createMainWindow();

    // Where the desktop of the Qt platform `platformName` cannot be reached (the simulated
    // desktop stands in without being asked for), tells the user that hotkeys and input stay
    // inside the program, and what to do. Headless runs (the offscreen and minimal platforms)
    // have no one to tell.
    static void warnAboutDesktop(platform::DesktopSupport support, const QString& platformName,
                                 QWidget* window);

private:
    // run, with the program's log lines captured for the journal.
    static int runCaptured(QApplication& app, platform::DesktopSupport support);
};
