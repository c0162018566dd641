#include "ClickRecorder.h"
#include "ScenarioScripts.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "core/AppProperties.h"
#include "core/SettingsFile.h"
#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "hooks/QGlobalMouseHook.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"
#include "recorder/RecordedScriptWriter.h"
#include "recorder/Recorder.h"
#include "recorder/StepBuilder.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QTest>

#include <memory>

using platform::Platform;

Q_DECLARE_METATYPE(INPUT)

namespace {

QString describe(const QList<RecordedEvent>& events)
{
    QStringList parts;
    for (const RecordedEvent& event : events)
        parts << QStringLiteral("%1:%2,%3").arg(int(event.kind)).arg(event.value).arg(event.detail);
    return parts.join(u' ');
}

QStringList whats(const QList<ClickRecorder::Event>& events)
{
    QStringList list;
    for (const ClickRecorder::Event& event : events)
        list << event.what;
    return list;
}

qint64 spanMs(const QList<ClickRecorder::Event>& events)
{
    return events.isEmpty() ? 0 : events.last().timeMs - events.first().timeMs;
}

INPUT absoluteMove(LONG x, LONG y)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT scanCodeKey(WORD scanCode, bool press)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = scanCode;
    input.ki.dwFlags = KEYEVENTF_SCANCODE | (press ? 0 : KEYEVENTF_KEYUP);
    return input;
}

} // namespace

// The recorder on a real X server: what xdotool does, as another client, reaches it through
// XInput2's raw events, in order, and the program's own input does not; the script written
// from a recording plays it again.
class RecorderX11Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<Platform> m_backend;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_backend = platform::createPlatform("xcb");
        QVERIFY(dynamic_cast<platform::X11Platform*>(m_backend.get()));
        Platform::setCurrent(m_backend.get());
    }

    void cleanupTestCase()
    {
        QGlobalMouseHook::shutdown();
        Platform::setCurrent(nullptr);
        m_backend.reset();
    }

    void hearsXdotoolsInputInOrder()
    {
        using E = RecordedEvent;
        Recorder recorder;
        recorder.start(0);
        // The program's own relative move, key and click are not the user's.
        INPUT own[3]{};
        own[0].type = INPUT_MOUSE;
        own[0].mi.dx = 7;
        own[0].mi.dwFlags = MOUSEEVENTF_MOVE;
        own[1].type = INPUT_KEYBOARD;
        own[1].ki.wScan = 0x30; // B
        own[1].ki.dwFlags = KEYEVENTF_SCANCODE;
        own[2] = own[1];
        own[2].ki.dwFlags |= KEYEVENTF_KEYUP;
        Platform::current().sendInput(3, own, sizeof(INPUT));
        QVERIFY(xdotool({"mousemove_relative", "--", "10", "-4"}));
        QVERIFY(xdotool({"click", "3"}));
        QVERIFY(xdotool({"click", "5"}));
        QVERIFY(xdotool({"key", "a"}));
        const QList<RecordedEvent> expected{
            E::move(0, 10, -4), E::button(0, 3, true),      E::button(0, 3, false),
            E::wheel(0, -120),  E::key(0, 0x1E, 'A', true), E::key(0, 0x1E, 'A', false)};
        // The stop hears everything the server reported before it.
        const QList<RecordedEvent> events = recorder.stop().events;
        QCOMPARE(describe(events), describe(expected));
        for (qsizetype i = 1; i < events.size(); ++i)
            QVERIFY(events[i].timeUs >= events[i - 1].timeUs);
    }

    // A short recording stopped at once keeps all of it, and the program's own input from
    // before the recording, sent while the hook ran for others, takes none of the user's.
    void keepsTheUsersShortInput_data()
    {
        QTest::addColumn<QList<INPUT>>("programInput");
        QTest::addColumn<QList<QStringList>>("actions");
        QTest::addColumn<QString>("expected");
        const QStringList right{"mousemove_relative", "--", "30", "0"};
        const QStringList left{"mousemove_relative", "--", "-5", "0"};
        const QStringList down{"mousemove_relative", "--", "0", "4"};
        QTest::newRow("one relative move")
            << QList<INPUT>{} << QList<QStringList>{right} << "0:30,0";
        QTest::newRow("moves after xdotool's jump")
            << QList<INPUT>{} << QList<QStringList>{{"mousemove", "900", "100"}, left, down}
            << "0:-5,0 0:0,4";
        QTest::newRow("moves after the program's jump")
            << QList<INPUT>{absoluteMove(32768, 32768)} << QList<QStringList>{left, down}
            << "0:-5,0 0:0,4";
        QTest::newRow("key after the program's same key")
            << QList<INPUT>{scanCodeKey(0x1E, true), scanCodeKey(0x1E, false)}
            << QList<QStringList>{{"key", "a"}} << "4:30,65 5:30,65";
    }

    void keepsTheUsersShortInput()
    {
        QFETCH(QList<INPUT>, programInput);
        QFETCH(QList<QStringList>, actions);
        QFETCH(QString, expected);
        QVERIFY(xdotool({"mousemove", "400", "300"}));
        // The hook runs for the scenario engine while the program sends its own input.
        QGlobalMouseHook::acquire();
        const auto release = qScopeGuard([] { QGlobalMouseHook::release(); });
        Platform& system = Platform::current();
        QCOMPARE(system.sendInput(UINT(programInput.size()), programInput.data(), sizeof(INPUT)),
                 UINT(programInput.size()));
        POINT position{};
        QVERIFY(system.getCursorPos(position)); // once answered, the server has had the input

        Recorder recorder;
        recorder.start(0);
        for (const QStringList& action : actions)
            QVERIFY(xdotool(action));
        QCOMPARE(describe(recorder.stop().events), expected);
    }

    // What xdotool does while the recorder listens, the written script plays again: the same
    // input in the same order as the server sees it, the pointer ending where xdotool left
    // it, in the same time give or take 5 %.
    void writtenScriptPlaysTheRecordingAgain()
    {
        ClickRecorder server;
        QVERIFY(server.isListening());
        EngineState::instance() = EngineState{};
        applySettings(AppSettings{});
        publishModifierDefaults();
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
        const QPoint start(400, 300);
        QVERIFY(xdotool({"mousemove", "400", "300"}));
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), start, kTimeoutMs);

        Recorder recorder;
        recorder.start(0);
        server.takeEvents();
        const QList<QStringList> actions = {{"mousemove_relative", "--", "30", "20"},
                                            {"click", "1"},
                                            {"mousemove_relative", "--", "-7", "12"},
                                            {"click", "3"},
                                            {"click", "8"},
                                            {"click", "5"},
                                            {"key", "a"},
                                            {"key", "b"}};
        for (const QStringList& action : actions) {
            QVERIFY(xdotool(action));
            QTest::qWait(150);
        }
        const Recording recording = recorder.stop();
        const QPoint end = pointer();
        QCOMPARE(end, start + QPoint(23, 32));
        const QList<ClickRecorder::Event> recorded = server.takeEvents();
        QCOMPARE(whats(recorded),
                 QStringList({"move 30,20", "press 1", "release 1", "move -7,12", "press 3",
                              "release 3", "press 8", "release 8", "press 5", "release 5", "key 38",
                              "key up 38", "key 56", "key up 56"}));

        const QTemporaryDir directory;
        const QString path = writeScript(
            directory, "Запись 1.lua",
            RecordedScriptWriter::write(StepBuilder({}).build(recording),
                                        QDateTime::currentDateTime(), PlaybackTrigger{}));
        QVERIFY(xdotool({"mousemove", "400", "300"}));
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), start, kTimeoutMs);
        QTest::qWait(100);
        server.takeEvents();
        ScriptsModel model;
        model.executeLua(path); // plays the whole recording as it is activated
        QCOMPARE(model.activeScriptPath(), path);
        QTest::qWait(200);
        const QList<ClickRecorder::Event> played = server.takeEvents();
        model.deactivateScript();

        QCOMPARE(whats(played), whats(recorded));
        QTRY_COMPARE_WITH_TIMEOUT(pointer(), end, kTimeoutMs);
        const double error = double(spanMs(played) - spanMs(recorded)) / spanMs(recorded);
        qInfo("recorded in %lld ms, played in %lld ms: %+.2f %%", spanMs(recorded), spanMs(played),
              error * 100);
        QVERIFY(qAbs(error) <= 0.05);
    }
};

CLAVITOR_TEST(RecorderX11Test);
#include "RecorderX11Test.moc"
