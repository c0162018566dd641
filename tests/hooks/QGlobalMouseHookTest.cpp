#include "ScenarioScripts.h"
#include "TestRegistry.h"

#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "hooks/QGlobalMouseHook.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
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
};

CLAVITOR_TEST(QGlobalMouseHookTest);
#include "QGlobalMouseHookTest.moc"
