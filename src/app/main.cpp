#include "Startup.h"

#include "hooks/QGlobalMouseHook.h"
#include "platform/Platform.h"
#include "preview/PreviewProcess.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The preview of a script runs in a process of its own, on simulated desktops only: no
    // window, no settings, no single-instance lock.
    if (PreviewProcess::isRequested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return PreviewProcess::run();
    }
    // The data folder is named after the application: not after the executable's file name,
    // which a portable user may change.
    QCoreApplication::setApplicationName(QStringLiteral("clavitor"));
    QApplication app(argc, argv);
    platform::DesktopSupport support = platform::DesktopSupport::Supported;
    const std::unique_ptr<platform::Platform> backend =
        platform::createPlatform(QGuiApplication::platformName().toStdString(), &support);
    platform::Platform::setCurrent(backend.get());

    const int exitCode = Startup::run(app, support);

    // The hook thread calls the backend: it ends before the backend does.
    QGlobalMouseHook::shutdown();
    platform::Platform::setCurrent(nullptr);
    return exitCode;
}
