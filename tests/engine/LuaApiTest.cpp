#include "LogCapture.h"
#include "ScenarioScripts.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
#include <QTest>

#include <lua.hpp>

#include <algorithm>
#include <memory>

namespace {

struct Sent
{
    DWORD type;
    LONG dx, dy;
    DWORD mouseData, flags;
    WORD scan;

    bool operator==(const Sent&) const = default;
};

Sent mouse(LONG dx, LONG dy, DWORD flags, DWORD mouseData = 0)
{
    return {INPUT_MOUSE, dx, dy, mouseData, flags, 0};
}

Sent keyboard(WORD scan, DWORD flags)
{
    return {INPUT_KEYBOARD, 0, 0, 0, flags, scan};
}

char* toString(const Sent& s)
{
    return QTest::toString(QStringLiteral("{type %1 dx %2 dy %3 data %4 flags 0x%5 scan %6}")
                               .arg(s.type)
                               .arg(s.dx)
                               .arg(s.dy)
                               .arg(s.mouseData)
                               .arg(s.flags, 0, 16)
                               .arg(s.scan));
}

// A platform whose performance counter advances by a fixed step on every read, and whose
// sleeps move it to the moment asked for, plus late (negative: early).
class SteppingClock : public platform::SimulatedPlatform
{
public:
    LONGLONG queryPerformanceCounter() override { return now += step; }
    LONGLONG queryPerformanceFrequency() override { return 10'000'000; } // 10 000 per ms
    void sleepUntil(LONGLONG counter) override
    {
        sleeps << counter;
        now = std::max(now, counter + late);
    }
    LONGLONG now = 0;
    LONGLONG step = 1;
    LONGLONG late = 0;
    QList<LONGLONG> sleeps;
};

} // namespace

class LuaApiTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SteppingClock> m_desktop;
    std::unique_ptr<ScriptsModel> m_model;

    // Runs Lua code in the model's state; returns the values it returns, as text.
    QStringList run(const QByteArray& code)
    {
        lua_State* L = m_model->luaState();
        const int base = lua_gettop(L);
        if (luaL_loadstring(L, code.constData()) != 0 || lua_pcall(L, 0, LUA_MULTRET, 0) != 0)
            qFatal("Lua failed: %s", lua_tostring(L, -1));
        QStringList results;
        for (int i = base + 1; i <= lua_gettop(L); ++i) {
            const QString type = QString::fromUtf8(luaL_typename(L, i));
            const QString value = lua_isnil(L, i)       ? QString()
                                  : lua_isboolean(L, i) ? QString(lua_toboolean(L, i) ? "true" : "false")
                                                        : QString::fromUtf8(lua_tostring(L, i));
            results << type + ":" + value;
        }
        lua_settop(L, base);
        return results;
    }

    QList<Sent> sent()
    {
        QList<Sent> list;
        for (const INPUT& r : m_desktop->takeSentRecords()) {
            if (r.type == INPUT_MOUSE)
                list << Sent{r.type, r.mi.dx, r.mi.dy, r.mi.mouseData, r.mi.dwFlags, 0};
            else
                list << Sent{r.type, 0, 0, 0, r.ki.dwFlags, r.ki.wScan};
        }
        return list;
    }

private slots:
    void init()
    {
        m_desktop = std::make_unique<SteppingClock>();
        platform::Platform::setCurrent(m_desktop.get());
        applySettings(AppSettings{});
        publishModifierDefaults();
        EngineState::instance() = EngineState{};
        m_model = std::make_unique<ScriptsModel>();
    }

    void cleanup()
    {
        m_model.reset();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void everyGlobalIsRegisteredWithItsAliases()
    {
        const char* names[] = {
            "QDebug", "TestQ", "GetMousePosition", "MoveMouseRelative", "MoveMouseTo",
            "MoveMouseToVirtual", "Sleep", "IsMouseButtonPressed",
            "EnablePrimaryMouseButtonEvents", "PressMouseButton", "ReleaseMouseButton",
            "MoveMouseWheel", "IsKeyLockOn", "PressKey", "ReleaseKey", "PressAndReleaseKey",
            "IsModifierPressed", "eep", "mmr", "GetMKeyState", "SetMKeyState",
            "OutputLogMessage", "GetRunningTime", "GetDate", "ClearLog",
            "PressAndReleaseMouseButton", "OutputLCDMessage", "ClearLCD", "PlayMacro",
            "AbortMacro", "SetBacklightColor", "OutputDebugMessage", "SetMouseDPITable",
            "SetMouseDPITableIndex", "SetSteeringWheelProperty"};
        for (const char* name : names)
            QCOMPARE(run(QByteArray("return type(") + name + ")"), QStringList{"string:function"});
        QCOMPARE(run("return type(_G['G13 Programming'])"), QStringList{"string:function"});
        QCOMPARE(run("return IsNowMouseButtonPressed == IsMouseButtonPressed and "
                     "IsNowButtonPressed == IsMouseButtonPressed and "
                     "IsButtonPressed == IsMouseButtonPressed and "
                     "IsMButtonPressed == IsMouseButtonPressed and IsMBP == IsMouseButtonPressed "
                     "and MoveMouseRelativexy == MoveMouseRelative and "
                     "Moveto == MoveMouseRelative and Sleepms == Sleep and Delay == Sleep"),
                 QStringList{"boolean:true"});
        // The device functions do nothing and return nothing.
        QCOMPARE(run("return select('#', ClearLog()) + select('#', OutputLCDMessage('x')) "
                     "+ select('#', SetBacklightColor(1, 2, 3))"),
                 QStringList{"number:0"});
        QVERIFY(sent().isEmpty());
    }

    void relativeMovesTakeTheFirstAndTheLastArgument()
    {
        run("MoveMouseRelative(5) MoveMouseRelative(5, 6, 7) MoveMouseRelative() "
            "mmr(4, 7) mmr(10) Moveto(-3, 2) MoveMouseRelativexy('8', 'x')");
        QCOMPARE(sent(), (QList<Sent>{mouse(5, 5, 0x0001), mouse(5, 7, 0x0001),
                                      mouse(0, 0, 0x0001), mouse(0, 0, 0x0001),
                                      mouse(6, 3, 0x0001), mouse(-3, 2, 0x0001),
                                      mouse(8, 0, 0x0001)}));

        // Relative moves from scripts go through the movement modifiers.
        qApp->setProperty(AppProperty::systemApiXY, 3.0);
        run("MoveMouseRelative(2, -1)");
        QCOMPARE(sent(), QList<Sent>{mouse(6, -3, 0x0001)});
    }

    void absoluteMovesAreNormalisedToTheScreen()
    {
        run("MoveMouseTo(-10, 99999) MoveMouseTo(960, 540) MoveMouseTo() MoveMouseTo(1919)");
        QCOMPARE(sent(), (QList<Sent>{mouse(0, 65535, 0x8001), mouse(32785, 32798, 0x8001),
                                      mouse(0, 0, 0x8001), mouse(65535, 65535, 0x8001)}));

        m_desktop->setScreens({{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}});
        run("MoveMouseToVirtual(-1280, 0) MoveMouseToVirtual(1919, 2000) MoveMouseToVirtual(-5000)");
        QCOMPARE(sent(), (QList<Sent>{mouse(0, 0, 0xC001), mouse(65535, 65535, 0xC001),
                                      mouse(0, 0, 0xC001)}));
        POINT cursor{};
        m_desktop->getCursorPos(cursor);
        QCOMPARE(cursor.x, -1280);

        m_desktop->setScreens({{0, 0, 1, 1}});
        run("MoveMouseTo(5, 5)");
        QCOMPARE(sent(), QList<Sent>{mouse(0, 0, 0x8001)});
    }

    void buttonsAndTheWheel()
    {
        run("PressMouseButton(1) PressMouseButton(2) PressMouseButton(3) "
            "ReleaseMouseButton(1) ReleaseMouseButton(2) ReleaseMouseButton(3) "
            "PressMouseButton(4) ReleaseMouseButton(4) PressMouseButton(5) ReleaseMouseButton(5) "
            "PressMouseButton(6) ReleaseMouseButton() PressMouseButton(9, 1) "
            "MoveMouseWheel(-2) MoveMouseWheel(1) MoveMouseWheel()");
        QCOMPARE(sent(), (QList<Sent>{mouse(0, 0, 0x0002), mouse(0, 0, 0x0020),
                                      mouse(0, 0, 0x0008), mouse(0, 0, 0x0004),
                                      mouse(0, 0, 0x0040), mouse(0, 0, 0x0010),
                                      mouse(0, 0, 0x0080, XBUTTON1), mouse(0, 0, 0x0100, XBUTTON1),
                                      mouse(0, 0, 0x0080, XBUTTON2), mouse(0, 0, 0x0100, XBUTTON2),
                                      mouse(0, 0, 0x0002), mouse(0, 0, 0x0800, DWORD(-240)),
                                      mouse(0, 0, 0x0800, 120)}));
    }

    void pressAndReleaseMouseButtonClicks()
    {
        run("PressAndReleaseMouseButton(1) PressAndReleaseMouseButton(4) "
            "PressAndReleaseMouseButton(7) PressAndReleaseMouseButton()");
        QCOMPARE(sent(), (QList<Sent>{mouse(0, 0, 0x0002), mouse(0, 0, 0x0004),
                                      mouse(0, 0, 0x0080, XBUTTON1), mouse(0, 0, 0x0100, XBUTTON1)}));
    }

    void runningTimeCountsWholeMillisecondsOfTheCounter()
    {
        m_desktop->now = LONGLONG{1} << 50; // long after the engine started
        run("first = GetRunningTime()");
        m_desktop->now += 250'000; // 25 ms
        const QStringList elapsed =
            run("local t = GetRunningTime() return t - first, t == math.floor(t)");
        QVERIFY2(elapsed.first() == "number:25" || elapsed.first() == "number:26",
                 qPrintable(elapsed.first()));
        QCOMPARE(elapsed.last(), QStringLiteral("boolean:true"));
    }

    void getDateIsWhatOsDateGives_data()
    {
        QTest::addColumn<QByteArray>("arguments");
        QTest::newRow("year") << QByteArray("'%Y'");
        QTest::newRow("a random seed") << QByteArray("'%I%M%S'");
        QTest::newRow("universal time, given") << QByteArray("'!%Y-%m-%d %H:%M:%S', 1700000000");
        QTest::newRow("no format") << QByteArray("nil, 1700000000");
        QTest::newRow("conversions no C library lacks") << QByteArray("'%c|%x|%X|%p|%j|%%', 0");
        // Unknown to C libraries (Windows' ends the program on them): written as they are.
        QTest::newRow("unknown conversions") << QByteArray("'%Q|%Ey|%Od|%', 0");
    }

    void getDateIsWhatOsDateGives()
    {
        QFETCH(QByteArray, arguments);
        lua_State* pristine = luaL_newstate();
        luaL_openlibs(pristine);
        luaL_dostring(pristine, "return os.date(" + arguments + ")");
        const QString expected = QStringLiteral("string:") + lua_tostring(pristine, -1);
        lua_close(pristine);
        QCOMPARE(run("return GetDate(" + arguments + ")"), QStringList{expected});
        QCOMPARE(run("return os.date(" + arguments + ")"), QStringList{expected});
    }

    void getDateServesWhatScriptsDoWithIt()
    {
        QCOMPARE(run("return GetDate('*t', 0).year, os.date == GetDate"),
                 (QStringList{"number:1970", "boolean:true"}));
        // Conversions that only some C libraries know are written as they are everywhere.
        QCOMPARE(run("return GetDate('%k%P', 0)"), QStringList{"string:%k%P"});
        // What scripts do with it: a number from the digits.
        QCOMPARE(run("math.randomseed(GetDate('%I%M%S') + 0) return GetDate('%Y') + 0 >= 2024"),
                 QStringList{"boolean:true"});
    }

    void outputLogMessageWritesTheFormattedLine()
    {
        LogCapture log;
        run("OutputLogMessage('x = %d, %s\\n', 5, 'ёж') OutputLogMessage('%d %q', 'no number') "
            "OutputLogMessage('100%') OutputLogMessage({}) string.format = nil "
            "OutputLogMessage('%05.1f', 2.25)");
        QCOMPARE(log.lines, (QStringList{"clavitor.script: x = 5, ёж", "clavitor.script: %d %q",
                                         "clavitor.script: 100%", "clavitor.script: table",
                                         "clavitor.script: 002.2"}));
    }

    void stateQueries()
    {
        m_desktop->setCursorPos({321, 654});
        QCOMPARE(run("return GetMousePosition()"), (QStringList{"number:321", "number:654"}));

        m_desktop->setKeyDown(VK_LBUTTON, true);
        m_desktop->setKeyDown(VK_XBUTTON2, true);
        m_desktop->setKeyDown(VK_RCONTROL, true);
        m_desktop->setKeyToggled(VK_CAPITAL, true);
        QCOMPARE(run("return IsMouseButtonPressed(1), IsMBP(2), IsButtonPressed('1'), "
                     "IsMouseButtonPressed(4), IsMouseButtonPressed(5)"),
                 (QStringList{"boolean:true", "boolean:false", "boolean:true", "boolean:false",
                              "boolean:true"}));
        QCOMPARE(run("return select('#', IsMouseButtonPressed(6))"), QStringList{"number:0"});
        QCOMPARE(run("return select('#', IsMouseButtonPressed())"), QStringList{"number:0"});

        QCOMPARE(run("return IsModifierPressed('ctrl'), IsModifierPressed('rctrl'), "
                     "IsModifierPressed('lctrl'), IsModifierPressed('Ctrl'), "
                     "IsModifierPressed('shift')"),
                 (QStringList{"boolean:true", "boolean:true", "boolean:false", "boolean:false",
                              "boolean:false"}));
        QCOMPARE(run("return select('#', IsModifierPressed())"), QStringList{"number:0"});

        QCOMPARE(run("return IsKeyLockOn('capslock'), IsKeyLockOn('numlock'), "
                     "IsKeyLockOn('CapsLock'), IsKeyLockOn({})"),
                 (QStringList{"boolean:true", "boolean:false", "boolean:false", "boolean:false"}));
        QCOMPARE(run("return select('#', IsKeyLockOn())"), QStringList{"number:0"});
        QVERIFY(sent().isEmpty());
    }

    void primaryButtonEventsFollowLuaTruth()
    {
        EngineState& engine = EngineState::instance();
        run("EnablePrimaryMouseButtonEvents(0)");
        QVERIFY(engine.primaryButtonEventsEnabled);
        run("EnablePrimaryMouseButtonEvents(false)");
        QVERIFY(!engine.primaryButtonEventsEnabled);
        run("EnablePrimaryMouseButtonEvents('yes')");
        QVERIFY(engine.primaryButtonEventsEnabled);
        run("EnablePrimaryMouseButtonEvents(true, nil)");
        QVERIFY(!engine.primaryButtonEventsEnabled);
        run("EnablePrimaryMouseButtonEvents(true)");
        run("EnablePrimaryMouseButtonEvents()");
        QVERIFY(!engine.primaryButtonEventsEnabled);
    }

    void keysByScanCodeOrCharacter()
    {
        run("PressKey(30) PressKey('30') PressKey('a') PressKey(0) ReleaseKey(30)");
        QCOMPARE(sent(), (QList<Sent>{keyboard(30, 0x0008), keyboard(30, 0x0008),
                                      keyboard('a', 0x0004), keyboard('0', 0x0004),
                                      keyboard(30, 0x000A)}));

        run("PressAndReleaseKey('a', 'b')");
        QCOMPARE(sent(), (QList<Sent>{keyboard('a', 0x0004), keyboard('a', 0x0006),
                                      keyboard('b', 0x0004), keyboard('b', 0x0006)}));

        // With two keys the second one decides the mode for both.
        run("PressKey(42, 30) ReleaseKey(42, 30) PressKey(30, 'b') PressAndReleaseKey('a', 31)");
        QCOMPARE(sent(), (QList<Sent>{keyboard(42, 0x0008), keyboard(30, 0x0008),
                                      keyboard(42, 0x000A), keyboard(30, 0x000A),
                                      keyboard('3', 0x0004), keyboard('b', 0x0004),
                                      keyboard(0, 0x0008), keyboard(0, 0x000A),
                                      keyboard(31, 0x0008), keyboard(31, 0x000A)}));

        // Names mean nothing: a string types its first character.
        run("PressAndReleaseKey('enter')");
        QCOMPARE(sent(), (QList<Sent>{keyboard('e', 0x0004), keyboard('e', 0x0006)}));

        run("PressKey() PressKey(1, 2, 3) PressKey(nil) PressKey(true) ReleaseKey({}, 'a')");
        QVERIFY(sent().isEmpty());

        // A non-ASCII first character is typed as that character, and scan codes are cut
        // to 16 bits.
        run("PressKey('жук') PressKey(65536 + 57)");
        QCOMPARE(sent(), (QList<Sent>{keyboard(0x0436, 0x0004), keyboard(57, 0x0008)}));

        // Keyboard records reach the desktop as key presses.
        run("PressKey(42)");
        QVERIFY(m_desktop->getAsyncKeyState(VK_LSHIFT) & 0x8000);
        QCOMPARE(run("return IsModifierPressed('shift')"), QStringList{"boolean:true"});
    }

    void movesOnActivationUseTheScenarioFactorsAndOnDeactivationNeutralOnes()
    {
        QTemporaryDir dir;
        const QString path = writeScript(
            dir, QStringLiteral("move.lua"),
            "function OnEvent(event) if event:find('PROFILE') then MoveMouseRelative(10, 10) end end\n");
        ScriptData* row = m_model->scriptAt(0);
        row->path = path;
        row->xy = 2.0;
        row->y = 3.0;
        m_model->executeLua(path);
        m_model->deactivateScript();
        QCOMPARE(sent(), (QList<Sent>{mouse(20, 60, 0x0001), mouse(10, 10, 0x0001)}));
    }

    void hugeNumbersSaturateInsteadOfWrapping()
    {
        run("MoveMouseRelative(3e9, -3e9) mmr(-math.huge, 0/0) MoveMouseWheel(1e300) "
            "MoveMouseWheel(-2e7) MoveMouseTo(math.huge, -math.huge) PressKey(1e300)");
        QCOMPARE(sent(), (QList<Sent>{mouse(2147483647, -2147483647 - 1, 0x0001),
                                      mouse(-2147483647 - 1, -7, 0x0001),
                                      mouse(0, 0, 0x0800, DWORD(2147483647)),
                                      mouse(0, 0, 0x0800, DWORD(-2147483647 - 1)),
                                      mouse(65535, 0, 0x8001), keyboard(0xFFFF, 0x0008)}));

        m_desktop->now = 500'000;
        run("eep(-math.huge) Sleep(-1e300)");
        QCOMPARE(m_desktop->now, 500'002); // each returns after one look at the clock
    }

    void charactersBeyondTheBasicPlaneAreTypedWhole()
    {
        // U+1F600 is the pair D83D DE00: both halves, each pressed and released, in order.
        run("PressKey('😀x') ReleaseKey('😀') PressAndReleaseKey('😀', 'b')");
        const QList<Sent> pair = {keyboard(0xD83D, 0x0004), keyboard(0xD83D, 0x0006),
                                  keyboard(0xDE00, 0x0004), keyboard(0xDE00, 0x0006)};
        const QList<Sent> b = {keyboard('b', 0x0004), keyboard('b', 0x0006)};
        QCOMPARE(sent(), pair + pair + b);
    }

    void sleepEndsAtTheMillisecondDeadlineAndSleepsMostOfTheWay_data()
    {
        QTest::addColumn<LONGLONG>("late"); // how late the platform's sleeps wake, in ticks
        QTest::newRow("on time") << LONGLONG{0};
        QTest::newRow("0.3 ms late") << LONGLONG{3000};
        QTest::newRow("0.5 ms early") << LONGLONG{-5000};
    }

    void sleepEndsAtTheMillisecondDeadlineAndSleepsMostOfTheWay()
    {
        QFETCH(LONGLONG, late);
        m_desktop->late = late;
        m_desktop->step = 100;
        run("for i = 1, 5 do Sleep(10) end"); // the wait learns how late the sleeps wake

        // 10 000 ticks per ms; the clock stands at 12.3456 ms when the wait begins.
        m_desktop->now = 123'456;
        m_desktop->sleeps.clear();
        run("Sleep(10)");
        // The start is truncated to 12 ms, so the wait ends at the first read at or past
        // 23 ms (12 + 10 + 1), having slept until shortly before.
        QVERIFY2(m_desktop->now >= 230'000 && m_desktop->now < 230'100,
                 qPrintable(QString::number(m_desktop->now)));
        QVERIFY(!m_desktop->sleeps.isEmpty());
        QVERIFY(m_desktop->sleeps.last() < 230'000 && m_desktop->sleeps.last() > 220'000);

        m_desktop->now = 500'000;
        run("Sleep(0)");
        QVERIFY(m_desktop->now >= 510'000 && m_desktop->now < 510'100);

        m_desktop->now = 500'000;
        run("eep(5) Delay(2.0)");
        QVERIFY(m_desktop->now >= 560'000 && m_desktop->now < 560'100); // 50 + 3, then 53 + 3
    }

    void sleepWithoutTimeToWaitLooksAtTheClockOnce()
    {
        m_desktop->step = 100;
        m_desktop->now = 500'000;
        run("Sleep(-1) Sleep()");
        QCOMPARE(m_desktop->now, 500'200); // the start and one check; nothing without an argument
        QVERIFY(m_desktop->sleeps.isEmpty());
    }
};

CLAVITOR_TEST(LuaApiTest);
#include "LuaApiTest.moc"
