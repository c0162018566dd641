#include "FakeHidApi.h"
#include "ScenarioScripts.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "hooks/QGlobalMouseHook.h"
#include "input/InputSender.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

using platform::SimulatedPlatform;

namespace {

// A hook installed before the program's: it sees what the program's hook passes on.
std::atomic<int> eventsPassedOn{0};
std::atomic<int> injectedPassedOn{0};

LRESULT CALLBACK earlierHook(int /*code*/, WPARAM /*wParam*/, LPARAM lParam)
{
    ++eventsPassedOn;
    if (reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->flags & LLMHF_INJECTED)
        ++injectedPassedOn;
    return 0;
}

INPUT mouseRecord(DWORD flags, DWORD mouseData)
{
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.mouseData = mouseData;
    record.mi.dwFlags = flags;
    return record;
}

} // namespace

class QGlobalMouseHookTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;
    std::unique_ptr<FakeHidApi> m_hid;
    QStringList m_reported;
    QGlobalMouseHook* m_hook = nullptr;

    // The user clicks a button; the hook runs on the clicking thread, as it runs on its own
    // thread on Windows, and what it reports is delivered before this returns.
    void click(int virtualKey)
    {
        std::thread([&] {
            m_desktop->setKeyDown(virtualKey, true);
            m_desktop->setKeyDown(virtualKey, false);
        }).join();
        QCoreApplication::sendPostedEvents();
    }

    void sendClick(DWORD downFlag, DWORD upFlag, DWORD mouseData = 0)
    {
        const INPUT records[] = {mouseRecord(downFlag, mouseData), mouseRecord(upFlag, mouseData)};
        platform::Platform::current().sendInput(2, records, sizeof(INPUT));
        QCoreApplication::sendPostedEvents();
    }

    // Driver mode, on a virtual mouse whose clicks come back as hardware input, as they do on
    // Windows.
    FakeHidApi& useEchoingVirtualMouse()
    {
        m_hid = std::make_unique<FakeHidApi>();
        m_hid->attachVirtualMouse();
        m_hid->desktop = m_desktop.get();
        qApp->setProperty(AppProperty::controlMode, 1);
        return *m_hid;
    }

    void listen()
    {
        QGlobalMouseHook* hook = m_hook = QGlobalMouseHook::acquire();
        auto note = [this](const char* button) {
            return [this, button](bool pressed) {
                m_reported << QStringLiteral("%1 %2").arg(button, pressed ? "down" : "up");
            };
        };
        connect(hook, &QGlobalMouseHook::leftMouseButtonEvent, this, note("left"),
                Qt::QueuedConnection);
        connect(hook, &QGlobalMouseHook::rightMouseButtonEvent, this, note("right"),
                Qt::QueuedConnection);
        connect(hook, &QGlobalMouseHook::midMouseButtonEvent, this, note("middle"),
                Qt::QueuedConnection);
        connect(hook, &QGlobalMouseHook::xButton1Event, this, note("back"), Qt::QueuedConnection);
        connect(hook, &QGlobalMouseHook::xButton2Event, this, note("forward"),
                Qt::QueuedConnection);
    }

private slots:
    void init()
    {
        QGlobalMouseHook::shutdown();
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        m_reported.clear();
        eventsPassedOn = 0;
        injectedPassedOn = 0;
    }

    void cleanup()
    {
        closeVirtualMouse();
        m_hid.reset();
        qApp->setProperty(AppProperty::controlMode, 0);
        if (m_hook)
            m_hook->disconnect(this);
        QGlobalMouseHook::shutdown();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void physicalButtonsAreReportedAndPassedOn()
    {
        const HHOOK earlier = m_desktop->setWindowsHookEx(WH_MOUSE_LL, &earlierHook, nullptr, 0);
        listen();
        QCOMPARE(m_desktop->mouseHookCount(), size_t(2));

        m_desktop->setKeyDown(VK_LBUTTON, true);
        QVERIFY(m_desktop->getAsyncKeyState(VK_LBUTTON) & 0x8000); // not swallowed
        m_desktop->setKeyDown(VK_LBUTTON, false);
        click(VK_RBUTTON);
        click(VK_MBUTTON);
        click(VK_XBUTTON1);
        click(VK_XBUTTON2);
        m_desktop->turnMouseWheel(-2);
        QCoreApplication::sendPostedEvents();

        QCOMPARE(m_reported, (QStringList{"left down", "left up", "right down", "right up",
                                          "middle down", "middle up", "back down", "back up",
                                          "forward down", "forward up"}));
        QCOMPARE(eventsPassedOn.load(), 11);
        m_desktop->unhookWindowsHookEx(earlier);
    }

    void injectedInputIsNotReported()
    {
        const HHOOK earlier = m_desktop->setWindowsHookEx(WH_MOUSE_LL, &earlierHook, nullptr, 0);
        listen();

        sendClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        sendClick(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        sendClick(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
        sendClick(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2);

        QVERIFY(m_reported.isEmpty());
        QCOMPARE(injectedPassedOn.load(), 8);
        m_desktop->unhookWindowsHookEx(earlier);
    }

    void hookRunsWhileItHasUsersAndComesBack()
    {
        listen();
        QGlobalMouseHook::acquire(); // a second user, say the autoclicker
        QCOMPARE(m_desktop->mouseHookCount(), size_t(1));
        QGlobalMouseHook::release();
        click(VK_RBUTTON);
        QCOMPARE(m_reported, (QStringList{"right down", "right up"}));

        QGlobalMouseHook::release(); // the last user leaves
        QCOMPARE(m_desktop->mouseHookCount(), size_t(0));
        click(VK_RBUTTON);
        QCOMPARE(m_reported.size(), 2);

        QGlobalMouseHook::acquire();
        QCOMPARE(m_desktop->mouseHookCount(), size_t(1));
        click(VK_RBUTTON);
        QCOMPARE(m_reported.size(), 4);
    }

    void clicksReachTheActiveScriptOnlyWhenWanted()
    {
        QTemporaryDir dir;
        const QString path = writeScript(dir, QStringLiteral("aim.lua"), kListeningScript);
        EngineState::instance() = EngineState{};

        auto model = std::make_unique<ScriptsModel>();
        click(VK_RBUTTON); // nothing is active yet
        model->executeLua(path);
        takeHeard(model->luaState());
        click(VK_LBUTTON); // left-button events are not wanted yet
        click(VK_RBUTTON);
        EngineState::instance().primaryButtonEventsEnabled = true;
        click(VK_LBUTTON);
        sendClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); // the program's own click
        QCOMPARE(takeHeard(model->luaState()),
                 QStringLiteral("MOUSE_BUTTON_PRESSED:3;MOUSE_BUTTON_RELEASED:3;"
                                "MOUSE_BUTTON_PRESSED:1;MOUSE_BUTTON_RELEASED:1;"));

        // A profile switch replaces the model; the next one hears the clicks again.
        model->deactivateScript();
        model.reset();
        QCOMPARE(m_desktop->mouseHookCount(), size_t(0));
        model = std::make_unique<ScriptsModel>();
        model->executeLua(path);
        takeHeard(model->luaState());
        click(VK_MBUTTON);
        click(VK_XBUTTON1); // the side buttons need no wish, as the middle and right ones
        click(VK_XBUTTON2);
        sendClick(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1); // the program's own
        QCOMPARE(takeHeard(model->luaState()),
                 QStringLiteral("MOUSE_BUTTON_PRESSED:2;MOUSE_BUTTON_RELEASED:2;"
                                "MOUSE_BUTTON_PRESSED:4;MOUSE_BUTTON_RELEASED:4;"
                                "MOUSE_BUTTON_PRESSED:5;MOUSE_BUTTON_RELEASED:5;"));
        EngineState::instance() = EngineState{};
    }

    void ownDriverClicksAreNotReported()
    {
        FakeHidApi& hid = useEchoingVirtualMouse();
        listen();
        sendInputRecord(mouseRecord(MOUSEEVENTF_LEFTDOWN, 0));
        sendInputRecord(mouseRecord(MOUSEEVENTF_LEFTUP, 0));
        // A refused report goes by the system instead: nothing comes back from the device.
        hid.failReport = int(hid.reports.size());
        sendInputRecord(mouseRecord(MOUSEEVENTF_RIGHTDOWN, 0));
        sendInputRecord(mouseRecord(MOUSEEVENTF_RIGHTUP, 0));
        QCoreApplication::sendPostedEvents();
        QVERIFY(m_reported.isEmpty());

        click(VK_LBUTTON);
        click(VK_RBUTTON);
        QCOMPARE(m_reported, (QStringList{"left down", "left up", "right down", "right up"}));
    }

    void scriptClickingOnEveryClickDoesNotHearItself()
    {
        QTemporaryDir dir;
        const QString path = writeScript(
            dir, QStringLiteral("echo.lua"),
            "function OnEvent(event, arg)\n"
            "  if event == 'PROFILE_ACTIVATED' then EnablePrimaryMouseButtonEvents(true) end\n"
            "  if event == 'MOUSE_BUTTON_PRESSED' and arg == 1 then\n"
            "    heard = (heard or '') .. 'L;'\n"
            "    if #heard < 20 then PressAndReleaseMouseButton(1) end\n"
            "  end\n"
            "end\n");
        const FakeHidApi& hid = useEchoingVirtualMouse();
        EngineState::instance() = EngineState{};
        const auto resetEngine = qScopeGuard([] { EngineState::instance() = EngineState{}; });
        ScriptsModel model;
        model.executeLua(path);

        click(VK_LBUTTON);
        for (int round = 0; round < 10; ++round)
            QCoreApplication::sendPostedEvents();
        QCOMPARE(takeHeard(model.luaState()), QStringLiteral("L;"));
        QCOMPARE(hid.reports.size(), 2); // the script's one click
    }
};

CLAVITOR_TEST(QGlobalMouseHookTest);
#include "QGlobalMouseHookTest.moc"
