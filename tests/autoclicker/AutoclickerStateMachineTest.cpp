#include "AutoclickerTestSupport.h"
#include "LogCapture.h"
#include "TestRegistry.h"

#include "autoclicker/AutoClicker.h"
#include "autoclicker/AutoclickerStateMachine.h"
#include "hooks/QGlobalMouseHook.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QTest>

#include <memory>

using platform::SimulatedPlatform;

namespace {

// Clicks of the left button every 10 ms, without moving, in the given mode.
AutoclickerSettings leftClicks(int mode)
{
    return AutoclickerSettings::fromJson(
        {{"inputType", "mouse"}, {"useMove", false}, {"interval", 10}, {"mode", mode}});
}

// The settings the machine reads, as the page's controls would show them.
class ShownSettings final : public AutoclickerStateMachine::SettingsSource
{
public:
    int mode() const override { return shown.mode; }
    AutoclickerSettings settings() const override { return shown; }

    AutoclickerSettings shown;
};

} // namespace

class AutoclickerStateMachineTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;
    ShownSettings m_settings;
    std::unique_ptr<AutoclickerStateMachine> m_machine;

    AutoClicker* clicker() const
    {
        auto* found = m_machine->findChild<AutoClicker*>(QStringLiteral("clicker"));
        if (!found)
            qFatal("no clicker");
        return found;
    }
    void button(int virtualKey, bool down)
    {
        m_desktop->setKeyDown(virtualKey, down);
        QCoreApplication::sendPostedEvents();
    }
    // A setting changed as a control changes it: the machine hears of a new value only.
    void change(int& setting, int value)
    {
        if (setting == value)
            return;
        setting = value;
        m_machine->settingsChanged();
    }

    // One step of a story told in words.
    void act(const QString& step)
    {
        if (step == "arm")
            m_machine->setArmed(true);
        else if (step == "toggle")
            m_machine->toggleArmed();
        else if (step == "hotkey")
            m_machine->modeHotkeyPressed();
        else if (step.startsWith('L') || step.startsWith('R'))
            button(step.startsWith('L') ? VK_LBUTTON : VK_RBUTTON, step.endsWith('+'));
        else if (step.startsWith("scenario"))
            m_machine->setScenarioActive(step.endsWith('+'));
        else if (step == "interval")
            change(m_settings.shown.interval, 20);
        else if (step.startsWith("repeat"))
            change(m_settings.shown.repeat, step.mid(6).toInt());
        else if (step.startsWith("mode"))
            change(m_settings.shown.mode, step.mid(4).toInt());
        else if (step == "profile")
            showProfile(leftClicks(AutoClicker::HoldLeft));
        else
            qFatal("unknown step %s", qPrintable(step));
    }

    // Another profile's settings, shown as the page shows them.
    void showProfile(const AutoclickerSettings& settings)
    {
        m_settings.shown = settings;
        m_machine->settingsReplaced();
        m_machine->profileShown();
    }

private slots:
    void init()
    {
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
    }

    void cleanup()
    {
        m_machine.reset();
        QCOMPARE(m_desktop->mouseHookCount(), size_t(0)); // the machine gave the hook up
        QGlobalMouseHook::shutdown();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void runsAsTheStateMachineSays_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("runs"); // + start source, - stop reason
        QTest::addColumn<bool>("running");
        QTest::newRow("hold: press starts, release stops")
            << 1 << "arm L+ L- L+"
            << "+mouse -mouse_release +mouse" << true;
        QTest::newRow("hold both: one button is not enough") << 2 << "arm L+ R+ R-"
                                                             << "+mouse -mouse_release" << false;
        QTest::newRow("armed while held") << 1 << "L+ arm"
                                          << "+mouse" << true;
        QTest::newRow("disarmed: the buttons do nothing") << 1 << "L+ L- L+"
                                                          << "" << false;
        QTest::newRow("toggle: press starts, press stops") << 3 << "arm hotkey hotkey"
                                                           << "+mode_hotkey -mode_hotkey" << false;
        QTest::newRow("hotkey while off") << 3 << "hotkey"
                                          << "" << false;
        QTest::newRow("counted run ends by itself") << 0 << "arm hotkey"
                                                    << "+mode_hotkey -run_complete" << false;
        QTest::newRow("counted run is not cut short") << 0 << "repeat0 arm hotkey hotkey"
                                                      << "+mode_hotkey" << true;
        QTest::newRow("disarmed by the toggle hotkey") << 3 << "toggle hotkey toggle"
                                                       << "+mode_hotkey -toggle_off" << false;
        QTest::newRow("new settings restart a hold run")
            << 1 << "arm L+ interval"
            << "+mouse -settings_change +mouse" << true;
        QTest::newRow("new settings restart a hotkey run")
            << 3 << "arm hotkey interval"
            << "+mode_hotkey -settings_change +ui" << true;
        QTest::newRow("hold run ends in a hotkey mode") << 1 << "arm L+ mode3"
                                                        << "+mouse -mode_change" << false;
        QTest::newRow("hotkey run goes on in another hotkey mode")
            << 3 << "repeat0 arm hotkey mode0"
            << "+mode_hotkey -mode_change +ui" << true;
        QTest::newRow("hold run needs both buttons in the new mode")
            << 1 << "arm L+ mode2 R+"
            << "+mouse -mode_change +mouse" << true;
        QTest::newRow("another profile: idle") << 3 << "arm hotkey profile"
                                               << "+mode_hotkey -profile_change" << false;
        QTest::newRow("another profile: held again with its settings")
            << 1 << "arm L+ profile"
            << "+mouse -profile_change +mouse" << true;
        QTest::newRow("scenario stops a hold run") << 1 << "arm L+ scenario+"
                                                   << "+mouse -scenario_active" << false;
        QTest::newRow("scenario stops a hotkey run") << 3 << "arm hotkey scenario+ scenario- hotkey"
                                                     << "+mode_hotkey -scenario_active" << false;
        QTest::newRow("locked: Enable and hotkeys do nothing")
            << 3 << "scenario+ arm toggle hotkey L+"
            << "" << false;
        QTest::newRow("unlocked: armed again by hand") << 3 << "scenario+ scenario- toggle hotkey"
                                                       << "+mode_hotkey" << true;
    }
    void runsAsTheStateMachineSays()
    {
        QFETCH(int, mode);
        QFETCH(QString, steps);
        QFETCH(QString, runs);
        QFETCH(bool, running);
        m_machine = std::make_unique<AutoclickerStateMachine>(m_settings);
        showProfile(leftClicks(mode));
        m_desktop->takeSentRecords();
        const LogCapture log;

        for (const QString& step : steps.split(' '))
            act(step);

        QStringList seen;
        for (QString line : log.lines) {
            if (line.startsWith("clavitor.autoclicker: Автокликер запущен: "))
                seen << '+' + line.section(": ", 2);
            else if (line.startsWith("clavitor.autoclicker: Автокликер остановлен: "))
                seen << '-' + line.section(": ", 2);
        }
        QCOMPARE(seen.join(' '), runs);
        QCOMPARE(clicker()->isRunning(), running);
        // Every run clicks at once; each start above sent one click.
        QCOMPARE(describe(m_desktop->takeSentRecords()).count("left down"), int(runs.count('+')));
        button(VK_LBUTTON, false);
        button(VK_RBUTTON, false);
    }
};

CLAVITOR_TEST(AutoclickerStateMachineTest);
#include "AutoclickerStateMachineTest.moc"
