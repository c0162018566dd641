#include "ScenarioScripts.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/QGlobalShortcut.h"
#include "input/InputSender.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "platform/x11/X11Platform.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPoint>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <lua.hpp>

#include <memory>

using platform::Platform;
using platform::X11Platform;

namespace {

// What the script in the state heard so far, without clearing it.
QString heardSoFar(lua_State* state)
{
    lua_getglobal(state, "heard");
    const QString heard = QString::fromUtf8(lua_tostring(state, -1));
    lua_pop(state, 1);
    return heard;
}

// Runs a chunk in the scenario's state as if the script ran it; returns its boolean result.
bool runLua(lua_State* state, const char* chunk)
{
    if (luaL_dostring(state, chunk) != 0) {
        qWarning() << lua_tostring(state, -1);
        lua_pop(state, 1);
        return false;
    }
    const bool result = lua_gettop(state) > 0 && lua_toboolean(state, -1);
    lua_settop(state, 0);
    return result;
}

// Moves by (40, -25) when activated, and hears the left button once it is activated.
const QByteArray kMovingScript = "function OnEvent(event, arg)\n"
                                 "  heard = (heard or '') .. event .. ':' .. tostring(arg) .. ';'\n"
                                 "  if event == 'PROFILE_ACTIVATED' then\n"
                                 "    EnablePrimaryMouseButtonEvents(true)\n"
                                 "    MoveMouseRelative(40, -25)\n"
                                 "  end\n"
                                 "end\n";

} // namespace

// The program on a real X server: its hotkeys pressed, its clicks heard and its input seen
// by other clients. Runs under run-under-xvfb.sh (private Xvfb, layouts us and ru).
class X11DesktopTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Platform> m_backend;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;

    static bool bind(ScriptsModel& model, const QString& path, const QString& hotkey)
    {
        model.scriptAt(0)->path = path;
        model.scriptAt(0)->hotkey = hotkey;
        return model.registerHotkey(0);
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_backend = platform::createPlatform("xcb");
        QVERIFY(dynamic_cast<X11Platform*>(m_backend.get()));
        Platform::setCurrent(m_backend.get());
    }

    void cleanupTestCase()
    {
        Platform::setCurrent(nullptr);
        m_backend.reset();
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
        qApp->setProperty(AppProperty::systemApiXY, 1.0);
    }

    void cleanup()
    {
        QVERIFY(!(Platform::current().getKeyState(VK_CAPITAL) & 1)); // each test leaves it off
        m_prompter.reset();
        m_dir.reset();
    }

    void simulatedDesktopCanBeForced()
    {
        qputenv("CLAVITOR_SIMULATED_DESKTOP", "1");
        const std::unique_ptr<Platform> forced = platform::createPlatform("xcb");
        qunsetenv("CLAVITOR_SIMULATED_DESKTOP");
        QVERIFY(dynamic_cast<platform::SimulatedPlatform*>(forced.get()));
    }

    void hotkeyActivatesScenarioThatMovesThePointer()
    {
        const QString path = writeScript(*m_dir, QStringLiteral("aim.lua"), kMovingScript);
        ScriptsModel model;
        QVERIFY(bind(model, path, QStringLiteral("Alt+X")));
        QVERIFY(
            xdotool({QStringLiteral("mousemove"), QStringLiteral("500"), QStringLiteral("400")}));
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(500, 400), kTimeoutMs);

        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+x")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(model.luaState()),
                                  QStringLiteral("PROFILE_ACTIVATED:nil;"), kTimeoutMs);
        QCOMPARE(model.activeScriptPath(), path);
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(540, 375), kTimeoutMs);

        // The route's factor scales the move exactly.
        qApp->setProperty(AppProperty::systemApiXY, 2.0);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+x")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(model.luaState()),
                                  QStringLiteral("PROFILE_ACTIVATED:nil;PROFILE_DEACTIVATED:nil;"
                                                 "PROFILE_ACTIVATED:nil;"),
                                  kTimeoutMs);
        takeHeard(model.luaState());
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(620, 325), kTimeoutMs);

        // Caps Lock on: the hotkey still works.
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")}));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+x")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(model.luaState()),
                                  QStringLiteral("PROFILE_DEACTIVATED:nil;PROFILE_ACTIVATED:nil;"),
                                  kTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(700, 275), kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")}));
        QTRY_VERIFY_WITH_TIMEOUT(!(Platform::current().getKeyState(VK_CAPITAL) & 1), kTimeoutMs);
    }

    void scriptHearsOtherClicksButNotItsOwn()
    {
        const QString path = writeScript(*m_dir, QStringLiteral("listen.lua"), kMovingScript);
        ScriptsModel model;
        model.scriptAt(0)->path = path;
        model.executeLua(path);
        QCOMPARE(takeHeard(model.luaState()), QStringLiteral("PROFILE_ACTIVATED:nil;"));

        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(model.luaState()),
                                  QStringLiteral("MOUSE_BUTTON_PRESSED:1;MOUSE_BUTTON_RELEASED:1;"),
                                  kTimeoutMs);

        // The script's own click reaches the server before the right click that follows it;
        // once that one is heard, the script's own would have been heard before it.
        runLua(model.luaState(), "PressMouseButton(1) ReleaseMouseButton(1)");
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("3")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(model.luaState()),
                                  QStringLiteral("MOUSE_BUTTON_PRESSED:1;MOUSE_BUTTON_RELEASED:1;"
                                                 "MOUSE_BUTTON_PRESSED:3;MOUSE_BUTTON_RELEASED:3;"),
                                  kTimeoutMs);
        QVERIFY(!runLua(model.luaState(), "return IsMouseButtonPressed(1)"));

        // A release of a button that is not down leaves nothing behind that would swallow a
        // later release of another program.
        takeHeard(model.luaState());
        runLua(model.luaState(), "ReleaseMouseButton(1)");
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(model.luaState()),
                                  QStringLiteral("MOUSE_BUTTON_PRESSED:1;MOUSE_BUTTON_RELEASED:1;"),
                                  kTimeoutMs);
    }

    void sideButtonsAreHeardSentAndRead()
    {
        const QString path = writeScript(*m_dir, QStringLiteral("side.lua"), kListeningScript);
        ScriptsModel model;
        model.scriptAt(0)->path = path;
        model.executeLua(path);
        lua_State* lua = model.luaState();
        takeHeard(lua);

        // Buttons 8 and 9 are the back and forward buttons: 4 and 5 for a script.
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("8")}));
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("9")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(lua),
                                  QStringLiteral("MOUSE_BUTTON_PRESSED:4;MOUSE_BUTTON_RELEASED:4;"
                                                 "MOUSE_BUTTON_PRESSED:5;MOUSE_BUTTON_RELEASED:5;"),
                                  kTimeoutMs);
        takeHeard(lua);

        QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("8")}));
        QTRY_VERIFY_WITH_TIMEOUT(runLua(lua, "return IsMouseButtonPressed(4)"), kTimeoutMs);
        QVERIFY(!runLua(lua, "return IsMouseButtonPressed(5)"));
        QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("8")}));
        QTRY_VERIFY_WITH_TIMEOUT(!runLua(lua, "return IsMouseButtonPressed(4)"), kTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(lua),
                                  QStringLiteral("MOUSE_BUTTON_PRESSED:4;MOUSE_BUTTON_RELEASED:4;"),
                                  kTimeoutMs);
        takeHeard(lua);

        // The script's own side button reaches the server, and the script does not hear it:
        // once the click of another program that follows is heard, it would have been.
        runLua(lua, "PressMouseButton(5)");
        QTRY_VERIFY_WITH_TIMEOUT(runLua(lua, "return IsMouseButtonPressed(5)"), kTimeoutMs);
        runLua(lua, "ReleaseMouseButton(5)");
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("8")}));
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar(lua),
                                  QStringLiteral("MOUSE_BUTTON_PRESSED:4;MOUSE_BUTTON_RELEASED:4;"),
                                  kTimeoutMs);
        QVERIFY(!runLua(lua, "return IsMouseButtonPressed(5)"));
    }

    void holdingAltXStopsARunawayScript()
    {
        // The user holds Alt+X from another program while the script blocks this thread.
        const QString path = writeScript(*m_dir, QStringLiteral("runaway.lua"),
                                         "function OnEvent(event)\n"
                                         "  if event == 'PROFILE_ACTIVATED' then repeat until false end\n"
                                         "end\n");
        ScriptsModel model;
        model.scriptAt(0)->path = path;
        QVERIFY(QProcess::startDetached(
            QStringLiteral("sh"),
            {QStringLiteral("-c"),
             QStringLiteral("sleep 0.3; xdotool keydown alt+x; sleep 2; xdotool keyup alt+x")}));
        QElapsedTimer running;
        running.start();
        model.executeLua(path);
        QVERIFY2(running.elapsed() >= 800 && running.elapsed() < 2300,
                 qPrintable(QString::number(running.elapsed())));
        QVERIFY(!EngineState::instance().scenarioActive);
        QVERIFY(m_prompter->prompts.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!(Platform::current().getAsyncKeyState('X') & 0x8000), kTimeoutMs);
    }

    void lockAndButtonStatesFollowTheServer()
    {
        ScriptsModel model;
        lua_State* lua = model.luaState();
        QVERIFY(!runLua(lua, "return IsKeyLockOn('capslock')"));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")}));
        QTRY_VERIFY_WITH_TIMEOUT(runLua(lua, "return IsKeyLockOn('capslock')"), kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")}));
        QTRY_VERIFY_WITH_TIMEOUT(!runLua(lua, "return IsKeyLockOn('capslock')"), kTimeoutMs);

        QVERIFY(xdotool({QStringLiteral("keydown"), QStringLiteral("Control_R")}));
        QTRY_VERIFY_WITH_TIMEOUT(runLua(lua, "return IsModifierPressed('ctrl')"), kTimeoutMs);
        QVERIFY(runLua(lua, "return IsModifierPressed('rctrl')"));
        QVERIFY(xdotool({QStringLiteral("keyup"), QStringLiteral("Control_R")}));
        QTRY_VERIFY_WITH_TIMEOUT(!runLua(lua, "return IsModifierPressed('ctrl')"), kTimeoutMs);

        QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("3")}));
        QTRY_VERIFY_WITH_TIMEOUT(runLua(lua, "return IsMouseButtonPressed(3)"), kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("3")}));
        QTRY_VERIFY_WITH_TIMEOUT(!runLua(lua, "return IsMouseButtonPressed(3)"), kTimeoutMs);
    }

    void absoluteMovesLandOnThePixel()
    {
        ScriptsModel model;
        lua_State* lua = model.luaState();
        QCOMPARE(Platform::current().getSystemMetrics(SM_CXSCREEN), 1280);
        QCOMPARE(Platform::current().getSystemMetrics(SM_CYVIRTUALSCREEN), 800);
        runLua(lua, "MoveMouseTo(1001, 777)");
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(1001, 777), kTimeoutMs);
        runLua(lua, "MoveMouseToVirtual(3, 4000)");
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(3, 799), kTimeoutMs);
        QVERIFY(runLua(lua, "local x, y = GetMousePosition() return x == 3 and y == 799"));
    }

    void primaryScreenIsTheOriginOfCoordinates()
    {
        // Two monitors side by side, the right one primary: Windows counts from its corner.
        const auto xrandr = [](const QStringList& arguments) {
            return runTool(QStringLiteral("xrandr"), arguments);
        };
        QVERIFY(xrandr({QStringLiteral("--setmonitor"), QStringLiteral("left"),
                        QStringLiteral("640/169x800/254+0+0"), QStringLiteral("none")}));
        QVERIFY(xrandr({QStringLiteral("--setmonitor"), QStringLiteral("*right"),
                        QStringLiteral("640/169x800/254+640+0"), QStringLiteral("none")}));
        Platform& system = Platform::current();
        QTRY_COMPARE_WITH_TIMEOUT(system.getSystemMetrics(SM_CXSCREEN), 640, kTimeoutMs);
        QCOMPARE(system.getSystemMetrics(SM_XVIRTUALSCREEN), -640);
        QCOMPARE(system.getSystemMetrics(SM_CXVIRTUALSCREEN), 1280);
        {
            ScriptsModel model;
            lua_State* lua = model.luaState();
            runLua(lua, "MoveMouseTo(10, 20)");
            QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(650, 20), kTimeoutMs);
            QVERIFY(runLua(lua, "local x, y = GetMousePosition() return x == 10 and y == 20"));
            runLua(lua, "MoveMouseToVirtual(-640, 0)");
            QTRY_COMPARE_WITH_TIMEOUT(pointer(), QPoint(0, 0), kTimeoutMs);
        }
        QVERIFY(xrandr({QStringLiteral("--delmonitor"), QStringLiteral("right")}));
        QVERIFY(xrandr({QStringLiteral("--delmonitor"), QStringLiteral("left")}));
        QTRY_COMPARE_WITH_TIMEOUT(system.getSystemMetrics(SM_CXSCREEN), 1280, kTimeoutMs);
        QCOMPARE(system.getSystemMetrics(SM_XVIRTUALSCREEN), 0);
    }

    void hotkeyHeldByAnotherClientIsRefused()
    {
        // Another client of the server: a second connection of its own.
        const std::unique_ptr<X11Platform> other = X11Platform::open();
        QVERIFY(other);
        QVERIFY(other->registerHotKey(nullptr, 1, MOD_ALT | MOD_SHIFT, 'Y'));

        QGlobalShortcut shortcut;
        QVERIFY(!shortcut.setShortcut(QKeySequence(QStringLiteral("Alt+Shift+Y"))));
        QCOMPARE(shortcut.errorText(),
                 QStringLiteral("Сочетание уже используется другой программой."));

        // Refused without a trace: once the other lets go, it can be had, and then the other
        // is refused in turn.
        QVERIFY(other->unregisterHotKey(nullptr, 1));
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Alt+Shift+Y"))));
        QVERIFY(!other->registerHotKey(nullptr, 2, MOD_ALT | MOD_SHIFT, 'Y'));
        QCOMPARE(other->getLastError(), ERROR_HOTKEY_ALREADY_REGISTERED);
        QSignalSpy activated(&shortcut, &QGlobalShortcut::activated);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+shift+y")}));
        QTRY_COMPARE_WITH_TIMEOUT(activated.size(), 1, kTimeoutMs);
    }

    void cyrillicHotkeyUsesTheKeyOfItsLayout()
    {
        Platform& system = Platform::current();
        HKL layouts[4] = {};
        QCOMPARE(system.getKeyboardLayoutList(4, layouts), 2); // us, ru
        QCOMPARE(system.vkKeyScanEx(u'ф', layouts[1]), SHORT{'A'});
        QCOMPARE(system.vkKeyScanEx(u'Ж', layouts[1]), SHORT{0x100 | VK_OEM_1});
        QCOMPARE(system.vkKeyScanEx(u'ф', layouts[0]), SHORT{-1});
        QCOMPARE(system.vkKeyScanEx(u'@', layouts[0]), SHORT{0x100 | '2'});

        QGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+Ф"))));
        QSignalSpy activated(&shortcut, &QGlobalShortcut::activated);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")}));
        QTRY_COMPARE_WITH_TIMEOUT(activated.size(), 1, kTimeoutMs);
    }

    void scriptTypesCharactersAndScanCodes()
    {
        QLineEdit edit;
        edit.show();
        edit.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&edit, kTimeoutMs));
        ScriptsModel model;
        // A plain letter, one that needs Shift, a scan code (30 is A), a Cyrillic letter of the
        // layout that is not active and a character of no layout.
        runLua(model.luaState(), "PressAndReleaseKey('h', 'I') PressAndReleaseKey(30)\n"
                                 "PressAndReleaseKey('ж') PressAndReleaseKey('€')\n"
                                 "PressKey('!') ReleaseKey('!')");
        QTRY_COMPARE_WITH_TIMEOUT(edit.text(), QStringLiteral("hIaж€!"), kTimeoutMs);
        QVERIFY(!runLua(model.luaState(), "return IsModifierPressed('shift')"));

        // An extended scan code (0xE0 0x4B, the arrow left, while 0x4B is the keypad's 4 with
        // Num Lock on), then the autoclicker's records of a virtual key.
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")}));
        QTRY_VERIFY_WITH_TIMEOUT(Platform::current().getKeyState(VK_NUMLOCK) & 1, kTimeoutMs);
        runLua(model.luaState(), "PressAndReleaseKey(0xE04B)");
        for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT record{};
            record.type = INPUT_KEYBOARD;
            record.ki.wVk = 'Z';
            record.ki.dwFlags = flags;
            QCOMPARE(sendInputRecord(record), UINT{1});
        }
        QTRY_COMPARE_WITH_TIMEOUT(edit.text(), QStringLiteral("hIaж€z!"), kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")}));
    }
};

CLAVITOR_TEST(X11DesktopTest);

#include "X11DesktopTest.moc"
