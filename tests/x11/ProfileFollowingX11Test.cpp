#include "ScriptedPrompter.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "app/Startup.h"
#include "core/AppProperties.h"
#include "core/DataDirectory.h"
#include "core/SettingsFile.h"
#include "engine/EngineState.h"
#include "platform/x11/X11Platform.h"
#include "profiles/ProfileStore.h"
#include "scenarios/ScriptsListWidget.h"
#include "ui/shell/FramelessWindow.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using platform::Platform;

namespace {

// Moves the pointer by (10, 10) when its hotkey activates it.
const QByteArray kNudgeScript = "function OnEvent(event, arg)\n"
                                "  if event == 'PROFILE_ACTIVATED' then\n"
                                "    MoveMouseRelative(10, 10)\n"
                                "  end\n"
                                "end\n";

QString currentProfileName(const ScriptsListWidget& page)
{
    return page.profiles().value(page.currentProfileIndex()).name;
}

} // namespace

// The program's window follows the program in front on a real X server, with this test as the
// window manager: two top-level windows of other programs (a game run through Wine, named
// game.exe by its WM_CLASS, and an editor) made active in turn through _NET_ACTIVE_WINDOW on
// the root window. Runs under run-under-xvfb.sh.
class ProfileFollowingX11Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<Platform> m_backend;
    Display* m_display = nullptr;

    Window programWindow(const char* instance, const char* className)
    {
        const Window window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 400,
                                                  300, 200, 150, 0, 0, 0);
        XClassHint hint{const_cast<char*>(instance), const_cast<char*>(className)};
        XSetClassHint(m_display, window, &hint);
        XMapWindow(m_display, window);
        return window;
    }
    // What a window manager does when the user brings a window to the front.
    void activate(Window window)
    {
        XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
        XChangeProperty(m_display, DefaultRootWindow(m_display),
                        XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&window), 1);
        XSync(m_display, False);
    }

private slots:
    void initTestCase()
    {
        m_backend = platform::createPlatform("xcb");
        QVERIFY(dynamic_cast<platform::X11Platform*>(m_backend.get()));
        Platform::setCurrent(m_backend.get());
        m_display = XOpenDisplay(nullptr);
        QVERIFY(m_display);
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
    }

    void cleanupTestCase()
    {
        if (m_display)
            XCloseDisplay(m_display);
        EngineState::instance() = EngineState{};
        Platform::setCurrent(nullptr);
        m_backend.reset();
    }

    void programsInFrontSwitchTheProfileAndItsHotkeyWorks()
    {
        // default current; Игры for game.exe, with its scenario on Alt+1. Following is on
        // unless following.json says otherwise.
        QFile::remove(dataFilePath("following.json"));
        QDir(profileDirectory("Игры")).removeRecursively();
        QVERIFY(QDir().mkpath(profileDirectory("Игры")));
        const QString script = profileDirectory("Игры") + "/nudge.lua";
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kNudgeScript) == kNudgeScript.size());
        file.close();
        ScenarioProfile games;
        games.name = "Игры";
        games.scenarios = {ProfileScenario{script, "Alt+1", {}}};
        games.programs = {"game.exe"};
        QVERIFY(saveProfiles({ScenarioProfile{"default"}, games}));
        AppSettings settings = loadSettings();
        settings.lastProfile = "default";
        saveSettings(settings);

        ScriptedPrompter prompter;
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), kTimeoutMs));
        const auto* page = window->findChild<ScriptsListWidget*>("pageScriptsList");
        QCOMPARE(currentProfileName(*page), QString("default"));

        const Window game = programWindow("game.exe", "game.exe");
        const Window editor = programWindow("gedit", "Gedit");
        activate(game);
        QTRY_COMPARE_WITH_TIMEOUT(currentProfileName(*page), QString("Игры"), kTimeoutMs);
        const QPoint start(500, 350); // on the game's window
        QVERIFY(xdotool({"mousemove", QString::number(start.x()), QString::number(start.y())}));
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), start, kTimeoutMs);
        QVERIFY(xdotool({"key", "alt+1"}));
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), start + QPoint(10, 10), kTimeoutMs);

        activate(editor);
        QTRY_COMPARE_WITH_TIMEOUT(currentProfileName(*page), QString("default"), kTimeoutMs);
        QVERIFY(prompter.prompts.isEmpty());
        XDestroyWindow(m_display, game);
        XDestroyWindow(m_display, editor);
        XSync(m_display, False);
    }
};

CLAVITOR_TEST(ProfileFollowingX11Test);
#include "ProfileFollowingX11Test.moc"
