// A scenario that clicks the left button 300 times with Sleep(10) after each press and
// release, run by the program's engine on the X11 desktop, for x11-bench.sh.
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const std::unique_ptr<platform::Platform> backend =
        platform::createPlatform(QGuiApplication::platformName().toStdString());
    if (!dynamic_cast<platform::X11Platform*>(backend.get())) {
        std::fprintf(stderr, "x11_scenario_clicker: needs the X11 desktop (QT_QPA_PLATFORM=xcb)\n");
        return 1;
    }
    platform::Platform::setCurrent(backend.get());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clicks.lua"));
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly) ||
        script.write("function OnEvent(event, arg)\n"
                     "  if event == 'PROFILE_ACTIVATED' then\n"
                     "    for i = 1, 300 do\n"
                     "      PressMouseButton(1)\n"
                     "      ReleaseMouseButton(1)\n"
                     "      Sleep(10)\n"
                     "    end\n"
                     "  end\n"
                     "end\n") < 0)
        return 1;
    script.close();
    {
        ScriptsModel model;
        model.scriptAt(0)->path = path;
        model.executeLua(path); // runs the clicks to their end
    }
    platform::Platform::setCurrent(nullptr);
    return 0;
}
