#pragma once

#include <memory>

class FramelessWindow;
class QApplication;

// The program's start-up order on the GUI thread, from the application object to the end
// of the event loop.
class Startup
{
public:
    // Runs the program on an application object that already exists; returns the exit code.
    static int run(QApplication& app);

    // Creates the main window with the main widget as its content, gives it its start height,
    // centres it on the primary screen and shows it.
    static std::unique_ptr<FramelessWindow> createMainWindow();
};
