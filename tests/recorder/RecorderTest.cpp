#include "TestRegistry.h"

#include "hooks/QGlobalMouseHook.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "recorder/Recorder.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using platform::SimulatedPlatform;

namespace {

// What the user (or the program) does on the simulated desktop while the recorder listens.
struct Action
{
    enum Kind
    {
        Key,      // a: virtual key, b: scan code
        Button,   // a: VK_LBUTTON, ...
        Wheel,    // a: notches
        Move,     // a, b: dx, dy
        SendKey,  // the program types a scan code a
        SendMove, // the program moves by a, b
        SendClick // the program clicks the left button
    };
    Kind kind;
    int a = 0;
    int b = 0;
    bool down = true;
};
using Actions = QList<Action>;

void perform(SimulatedPlatform& desktop, const Action& action)
{
    INPUT record{};
    switch (action.kind) {
    case Action::Key:
        desktop.setKeyDown(action.a, static_cast<WORD>(action.b), action.down);
        return;
    case Action::Button:
        desktop.setKeyDown(action.a, action.down);
        return;
    case Action::Wheel:
        desktop.turnMouseWheel(action.a);
        return;
    case Action::Move:
        desktop.moveMouse(action.a, action.b);
        return;
    case Action::SendKey:
        record.type = INPUT_KEYBOARD;
        record.ki.wScan = static_cast<WORD>(action.a);
        record.ki.dwFlags = KEYEVENTF_SCANCODE | (action.down ? 0 : KEYEVENTF_KEYUP);
        break;
    case Action::SendMove:
        record.type = INPUT_MOUSE;
        record.mi.dx = action.a;
        record.mi.dy = action.b;
        record.mi.dwFlags = MOUSEEVENTF_MOVE;
        break;
    case Action::SendClick:
        record.type = INPUT_MOUSE;
        record.mi.dwFlags = action.down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        break;
    }
    desktop.sendInput(1, &record, sizeof record);
}

QString describe(const QList<RecordedEvent>& events)
{
    QStringList parts;
    for (const RecordedEvent& event : events)
        parts << QStringLiteral("%1:%2,%3").arg(int(event.kind)).arg(event.value).arg(event.detail);
    return parts.join(u' ');
}

Action key(int virtualKey, int scanCode, bool down)
{
    return {Action::Key, virtualKey, scanCode, down};
}

} // namespace

Q_DECLARE_METATYPE(Actions)

class RecorderTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;

private slots:
    void init()
    {
        QGlobalMouseHook::shutdown();
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
    }

    void cleanup()
    {
        QGlobalMouseHook::shutdown();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void recordsTheUsersInput_data()
    {
        using E = RecordedEvent;
        QTest::addColumn<Actions>("actions");
        QTest::addColumn<QList<RecordedEvent>>("expected");

        QTest::newRow("a key with its scan code")
            << Actions{key('A', 0x1E, true), key('A', 0x1E, false)}
            << QList{E::key(0, 0x1E, 'A', true), E::key(0, 0x1E, 'A', false)};
        QTest::newRow("an extended key")
            << Actions{key(VK_RIGHT, 0xE04D, true)} << QList{E::key(0, 0xE04D, VK_RIGHT, true)};
        QTest::newRow("buttons 1 to 5")
            << Actions{{Action::Button, VK_LBUTTON},  {Action::Button, VK_MBUTTON},
                       {Action::Button, VK_RBUTTON},  {Action::Button, VK_XBUTTON1},
                       {Action::Button, VK_XBUTTON2}, {Action::Button, VK_XBUTTON2, 0, false}}
            << QList{E::button(0, 1, true), E::button(0, 2, true), E::button(0, 3, true),
                     E::button(0, 4, true), E::button(0, 5, true), E::button(0, 5, false)};
        QTest::newRow("wheel and movement, in order")
            << Actions{{Action::Move, 5, -3}, {Action::Wheel, -1}, {Action::Move, -2, 0}}
            << QList{E::move(0, 5, -3), E::wheel(0, -120), E::move(0, -2, 0)};
        QTest::newRow("the program's own input is left out")
            << Actions{{Action::SendKey, 0x1E},
                       {Action::SendMove, 4, 4},
                       {Action::SendClick},
                       {Action::SendClick, 0, 0, false},
                       {Action::SendKey, 0x1E, 0, false},
                       key('B', 0x30, true)}
            << QList{E::key(0, 0x30, 'B', true)};
        QTest::newRow("the stop combination still held is left out")
            << Actions{key(VK_LCONTROL, 0x1D, true), key('C', 0x2E, true),
                       key('C', 0x2E, false),        key(VK_LCONTROL, 0x1D, false),
                       key(VK_LCONTROL, 0x1D, true), key(VK_F12, 0x58, true)}
            << QList{E::key(0, 0x1D, VK_LCONTROL, true), E::key(0, 0x2E, 'C', true),
                     E::key(0, 0x2E, 'C', false), E::key(0, 0x1D, VK_LCONTROL, false)};
    }

    void recordsTheUsersInput()
    {
        QFETCH(Actions, actions);
        QFETCH(QList<RecordedEvent>, expected);
        Recorder recorder;
        recorder.setStopKeys(RecordingStopKeys(MOD_CONTROL, VK_F12));
        recorder.start(0);
        QVERIFY(recorder.isRecording());
        for (const Action& action : actions)
            perform(*m_desktop, action);
        QList<RecordedEvent> events = recorder.stop().events;

        // Times are the counter's, in microseconds, never running backwards.
        const qint64 nowUs = m_desktop->queryPerformanceCounter() / 1000;
        for (qsizetype i = 0; i < events.size(); ++i) {
            QVERIFY(events[i].timeUs <= nowUs && events[i].timeUs > nowUs - 10'000'000);
            QVERIFY(i == 0 || events[i].timeUs >= events[i - 1].timeUs);
            events[i].timeUs = 0;
        }
        QCOMPARE(describe(events), describe(expected));
    }

    void hearsNothingBeforeTheCountdownEndsNorAfterTheStop()
    {
        Recorder recorder;
        QSignalSpy countdown(&recorder, &Recorder::countdown);
        QSignalSpy started(&recorder, &Recorder::recordingStarted);
        recorder.start(1);
        QVERIFY(recorder.isCountingDown());
        m_desktop->moveMouse(1, 1);
        QVERIFY(started.wait(3000));
        QCOMPARE(countdown.size(), 1);
        m_desktop->moveMouse(2, 2);
        QCOMPARE(describe(recorder.stop().events), describe({RecordedEvent::move(0, 2, 2)}));
        m_desktop->moveMouse(3, 3); // heard by nobody: the next recording begins empty
        recorder.start(0);
        m_desktop->moveMouse(4, 4);
        QCOMPARE(describe(recorder.stop().events), describe({RecordedEvent::move(0, 4, 4)}));
    }

    // A recording keeps no movement when asked not to, and stops listening by itself at its
    // limits, keeping what it heard until then and the moment it stopped.
    void keepsWithinItsLimits_data()
    {
        QTest::addColumn<bool>("movement");
        QTest::addColumn<qsizetype>("maxEvents");
        QTest::addColumn<int>("maxMs");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("limit"); // -1: none reached

        QTest::newRow("movement left out")
            << false << qsizetype(100) << 60'000 << "2:3,0 3:3,0" << -1;
        QTest::newRow("the event limit")
            << true << qsizetype(2) << 60'000 << "0:1,1 2:3,0" << int(Recorder::Limit::Events);
        QTest::newRow("the time limit")
            << true << qsizetype(100) << 1 << "" << int(Recorder::Limit::Duration);
    }
    void keepsWithinItsLimits()
    {
        QFETCH(bool, movement);
        QFETCH(qsizetype, maxEvents);
        QFETCH(int, maxMs);
        QFETCH(QString, kept);
        QFETCH(int, limit);
        Recorder recorder;
        QSignalSpy reached(&recorder, &Recorder::limitReached);
        recorder.setMovement(movement);
        recorder.setLimits({maxEvents, maxMs});
        recorder.start(0);
        if (maxMs == 1)
            QVERIFY(reached.wait(1000));
        m_desktop->moveMouse(1, 1);
        m_desktop->setKeyDown(VK_RBUTTON, true);
        m_desktop->moveMouse(2, 2);
        m_desktop->setKeyDown(VK_RBUTTON, false);
        QTRY_COMPARE(reached.size(), limit < 0 ? 0 : 1);
        const qint64 beforeStopUs = m_desktop->queryPerformanceCounter() / 1000;
        QTest::qWait(5);
        const Recording recording = recorder.stop();
        QCOMPARE(describe(recording.events), kept);
        if (limit >= 0) {
            QCOMPARE(reached.first().first().value<Recorder::Limit>(), Recorder::Limit(limit));
            QVERIFY(recording.stoppedUs < beforeStopUs); // when the limit was reached
        } else {
            QVERIFY(recording.stoppedUs > beforeStopUs);
        }
    }
};

CLAVITOR_TEST(RecorderTest);
#include "RecorderTest.moc"
