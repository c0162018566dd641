#include "LogCapture.h"
#include "ScenarioScripts.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "engine/StopCombination.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The user presses keys on another thread while the GUI thread runs a script: each tap holds
// its keys for its time, then lets go for 50 ms. It gives up early once told to.
struct Tap
{
    std::vector<int> keys;
    std::chrono::milliseconds held;
};

class KeyTaps
{
public:
    KeyTaps(platform::SimulatedPlatform& desktop, std::vector<Tap> taps)
        : m_thread([this, &desktop, taps] {
              std::this_thread::sleep_for(100ms);
              for (const Tap& tap : taps) {
                  for (int key : tap.keys)
                      desktop.setKeyDown(key, true);
                  if (m_firstPress.load() == Clock::time_point())
                      m_firstPress = Clock::now();
                  for (const auto until = Clock::now() + tap.held; Clock::now() < until && !m_done;)
                      std::this_thread::sleep_for(5ms);
                  for (int key : tap.keys)
                      desktop.setKeyDown(key, false);
                  std::this_thread::sleep_for(50ms);
              }
          })
    {
    }
    ~KeyTaps() { finish(); }

    // How long after the first press the script ended.
    std::chrono::milliseconds finish()
    {
        const auto ended = Clock::now();
        m_done = true;
        if (m_thread.joinable())
            m_thread.join();
        return std::chrono::duration_cast<std::chrono::milliseconds>(ended - m_firstPress.load());
    }

private:
    std::atomic<bool> m_done{false};
    std::atomic<Clock::time_point> m_firstPress{};
    std::thread m_thread;
};

const std::vector<int> kAltX = {VK_LMENU, 'X'};

} // namespace

class RunawayStopTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<platform::SimulatedPlatform> m_desktop;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;

private slots:
    void init()
    {
        m_desktop = std::make_unique<platform::SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
    }

    void cleanup()
    {
        StopCombination::setKeySequence(QKeySequence(QStringLiteral("Alt+X")));
        m_prompter.reset();
        m_dir.reset();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void holdingTheCombinationStopsARunawayEventHandler_data()
    {
        QTest::addColumn<QByteArray>("loop");
        QTest::newRow("endless loop") << QByteArray("repeat until false");
        QTest::newRow("loop that catches errors")
            << QByteArray("while true do pcall(function() repeat until false end) end");
        QTest::newRow("endless wait") << QByteArray("Sleep(1000000)");
        QTest::newRow("endless loop in a coroutine")
            << QByteArray("coroutine.wrap(function() repeat until false end)()");
    }

    void holdingTheCombinationStopsARunawayEventHandler()
    {
        QFETCH(QByteArray, loop);
        const QString path = writeScript(
            *m_dir, QStringLiteral("runaway.lua"),
            "function OnEvent(event, arg)\n"
            "  heard = (heard or '') .. event .. ':' .. tostring(arg) .. ';'\n"
            "  if event == 'MOUSE_BUTTON_PRESSED' then\n    " + loop + "\n  end\nend\n");
        ScriptsModel model;
        model.executeLua(path);
        takeHeard(model.luaState());
        QSignalSpy changed(&model, &ScriptsModel::sigActiveLuaChanged);
        LogCapture log;

        KeyTaps user(*m_desktop, {{kAltX, 3000ms}});
        model.rigthMouseButtonStateChanged(true);
        const auto held = user.finish();

        QVERIFY2(held >= 500ms && held < 2000ms, qPrintable(QString::number(held.count())));
        // Left as any deactivation leaves it, with one line in the log and no box.
        QCOMPARE(takeHeard(model.luaState()),
                 QStringLiteral("MOUSE_BUTTON_PRESSED:3;PROFILE_DEACTIVATED:nil;"));
        QVERIFY(!EngineState::instance().scenarioActive);
        QCOMPARE(model.activeScriptPath(), QString());
        QCOMPARE(changed.size(), 1);
        QVERIFY(m_prompter->prompts.isEmpty());
        const QStringList stops = log.lines.filter(QStringLiteral("clavitor.runaway"));
        QCOMPARE(stops.size(), 1);
        QVERIFY2(stops.first().startsWith(QStringLiteral("clavitor.runaway: Ошибка Lua в OnEvent: ")) &&
                     stops.first().endsWith(QStringLiteral("Сценарий остановлен пользователем")),
                 qPrintable(stops.first()));
        QVERIFY(log.lines.filter(QStringLiteral("clavitor.engine")).isEmpty());
    }

    void shortTapsDoNotStopAScript()
    {
        // Three taps of 300 ms while the script counts for 1.5 s on a clock of its own.
        const QString path = writeScript(*m_dir, QStringLiteral("busy.lua"),
                                         "function OnEvent() end\nlocal start = os.clock()\n"
                                         "repeat until os.clock() - start > 1.5\nfinished = true\n");
        ScriptsModel model;
        KeyTaps user(*m_desktop, {{kAltX, 300ms}, {kAltX, 300ms}, {kAltX, 300ms}});
        model.executeLua(path);
        user.finish();
        QVERIFY(m_prompter->prompts.isEmpty());
        QCOMPARE(model.activeScriptPath(), path);
        lua_getglobal(model.luaState(), "finished");
        QVERIFY(lua_toboolean(model.luaState(), -1));
        lua_pop(model.luaState(), 1);
    }

    void theCombinationIsTheOneLastHandedOver()
    {
        // A chunk that never ends is stopped by the page's combination, not by Alt+X nor by
        // it with a modifier more; the activation then fails without a box.
        StopCombination::setKeySequence(QKeySequence(QStringLiteral("Ctrl+Shift+F12")));
        const QString path =
            writeScript(*m_dir, QStringLiteral("sleeper.lua"), "x = 1\nSleep(1000000)\n");
        ScriptsModel model;
        QSignalSpy changed(&model, &ScriptsModel::sigActiveLuaChanged);
        LogCapture log;

        const std::vector<int> combination = {VK_LCONTROL, VK_RSHIFT, VK_F12};
        KeyTaps user(*m_desktop, {{kAltX, 700ms},
                                  {{VK_LCONTROL, VK_RSHIFT, VK_LMENU, VK_F12}, 700ms},
                                  {combination, 3000ms}});
        model.executeLua(path);
        const auto held = user.finish();

        // Stopped half a second into the third tap: 700 + 50 + 700 + 50 + 500 ms.
        QVERIFY2(held >= 2000ms && held < 3500ms, qPrintable(QString::number(held.count())));
        QVERIFY(m_prompter->prompts.isEmpty());
        QVERIFY(!EngineState::instance().scenarioActive);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toString(), QString());
        QCOMPARE(qApp->property(AppProperty::scenarioActivationResult), QVariant(false));
        const QString expected = QStringLiteral("Ошибка - %1:2: Сценарий остановлен пользователем "
                                                "в lua файле - %1")
                                     .arg(path);
        QCOMPARE(model.errorMessage(), expected);
        QCOMPARE(log.lines.filter(QStringLiteral("clavitor.runaway")),
                 QStringList{QStringLiteral("clavitor.runaway: ") + expected});
    }
};

CLAVITOR_TEST(RunawayStopTest);
#include "RunawayStopTest.moc"
