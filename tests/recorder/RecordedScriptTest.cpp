#include "ScenarioScripts.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "recorder/RecordedScriptWriter.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <deque>
#include <memory>

Q_DECLARE_METATYPE(PlaybackTrigger)

namespace {

// A desktop on a virtual clock: a microsecond counter that advances a little on every read,
// sleeps that move it to the moment asked for, and the time of every record sent. The user
// presses and lets go of keys and buttons at planned moments, while the script sleeps.
class VirtualClockDesktop : public platform::SimulatedPlatform
{
public:
    // Far beyond any reading of a real clock: the engine's start, taken once per process,
    // always lies before it.
    static constexpr LONGLONG kStart = LONGLONG{1} << 62;

    struct UserAction
    {
        LONGLONG at;
        std::vector<int> keys;
        bool down;
    };

    LONGLONG queryPerformanceCounter() override { return now += 1; }
    LONGLONG queryPerformanceFrequency() override { return 1'000'000; }
    void sleepUntil(LONGLONG counter) override
    {
        now = std::max(now, counter);
        while (!planned.empty() && now >= planned.front().at) {
            for (int key : planned.front().keys)
                setKeyDown(key, planned.front().down);
            planned.pop_front();
        }
    }
    UINT sendInput(UINT count, const INPUT* inputs, int recordSize) override
    {
        for (UINT i = 0; i < count; ++i)
            sent.push_back({now, inputs[i]});
        return SimulatedPlatform::sendInput(count, inputs, recordSize);
    }

    LONGLONG now = kStart;
    std::deque<UserAction> planned; // in time order
    std::vector<std::pair<LONGLONG, INPUT>> sent;
};

QString describe(const INPUT& record)
{
    if (record.type == INPUT_KEYBOARD) {
        const bool up = record.ki.dwFlags & KEYEVENTF_KEYUP;
        return QStringLiteral("key%1 %2").arg(up ? " up" : "").arg(record.ki.wScan, 0, 16);
    }
    const MOUSEINPUT& mouse = record.mi;
    switch (mouse.dwFlags) {
    case MOUSEEVENTF_MOVE:
        return QStringLiteral("move %1,%2").arg(mouse.dx).arg(mouse.dy);
    case MOUSEEVENTF_WHEEL:
        return QStringLiteral("wheel %1").arg(static_cast<int>(mouse.mouseData));
    case MOUSEEVENTF_LEFTDOWN:
        return QStringLiteral("press 1");
    case MOUSEEVENTF_LEFTUP:
        return QStringLiteral("release 1");
    default:
        return QStringLiteral("mouse 0x%1").arg(mouse.dwFlags, 0, 16);
    }
}

// The recording every row plays: 700 ms, ending with two keys still held.
const QList<RecordedStep> kSteps = {
    RecordedStep::move(12, -3),
    RecordedStep::sleep(16),
    RecordedStep::button(1, true),
    RecordedStep::sleep(84),
    RecordedStep::button(1, false),
    RecordedStep::wheel(-1),
    RecordedStep::key(0xE04B, VK_LEFT, true),
    RecordedStep::sleep(600),
    RecordedStep::key(42, VK_LSHIFT, true),
};

// One whole playback, at milliseconds from its start, and what it lets go of at its end.
const QStringList kWholePlayback = {"0 move 12,-3",   "16 press 1",     "100 release 1",
                                    "100 wheel -120", "100 key e04b",   "700 key 2a",
                                    "700 key up 2a",  "700 key up e04b"};

} // namespace

// Recorded scripts, as the writer writes them, played by the scenario engine.
class RecordedScriptTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<VirtualClockDesktop> m_desktop;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptsModel> m_model;

private slots:
    void init()
    {
        m_desktop = std::make_unique<VirtualClockDesktop>();
        platform::Platform::setCurrent(m_desktop.get());
        m_dir = std::make_unique<QTemporaryDir>();
        EngineState::instance() = EngineState{};
        applySettings(AppSettings{});
        publishModifierDefaults();
        qApp->setProperty(AppProperty::isSound, false);
        m_model = std::make_unique<ScriptsModel>();
        QTRY_VERIFY(m_desktop->mouseHookCount() > 0);
    }

    void cleanup()
    {
        m_model.reset();
        m_dir.reset();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    // The steps come out in order at their times (give or take the millisecond of the
    // clock's resolution; a stop within a slice of a wait), and whatever the playback still
    // holds is let go at its end, when the trigger is let go and when the user stops it.
    void playsTheRecordingOnItsTrigger_data()
    {
        QTest::addColumn<PlaybackTrigger>("trigger");
        QTest::addColumn<int>("holdMs");   // how long the user holds button 5; 0: not at all
        QTest::addColumn<int>("stopAtMs"); // when the user begins to hold Alt+X; 0: never
        QTest::addColumn<int>("tailMs");   // from the last step to the recording's stop
        QTest::addColumn<QStringList>("records");

        const PlaybackTrigger onPress{PlaybackTrigger::Kind::OnButtonPress, 5};
        const PlaybackTrigger whileHeld{PlaybackTrigger::Kind::WhileButtonHeld, 5};
        QTest::newRow("once on activation, the tail not waited")
            << PlaybackTrigger{} << 0 << 0 << 300 << kWholePlayback;
        QTest::newRow("on every press, played whole however short the press")
            << onPress << 1 << 0 << 0 << kWholePlayback;
        QTest::newRow("repeated while held, the button let go at 750 ms")
            << whileHeld << 750 << 0 << 0
            << kWholePlayback + QStringList{"700 move 12,-3", "716 press 1", "750 release 1"};
        QTest::newRow("repeated while held, each round lasting until the recording's stop")
            << whileHeld << 850 << 0 << 100
            << kWholePlayback.mid(0, 6) + QStringList{"800 key up 2a", "800 key up e04b",
                                                      "800 move 12,-3", "816 press 1",
                                                      "850 release 1"};
        QTest::newRow("stopped by the user, Alt+X held from 110 ms")
            << PlaybackTrigger{} << 0 << 110 << 0
            << kWholePlayback.mid(0, 5) + QStringList{"610 key up e04b"};
    }

    void playsTheRecordingOnItsTrigger()
    {
        QFETCH(PlaybackTrigger, trigger);
        QFETCH(int, holdMs);
        QFETCH(int, stopAtMs);
        QFETCH(int, tailMs);
        QFETCH(QStringList, records);

        const QByteArray script = RecordedScriptWriter::write(
            {kSteps, tailMs}, QDateTime(QDate(2025, 1, 31), QTime(14, 3)), trigger);
        const QString path = writeScript(*m_dir, QStringLiteral("Запись 1.lua"), script);
        const LONGLONG start = m_desktop->now;
        if (stopAtMs > 0)
            m_desktop->planned.push_back({start + stopAtMs * 1000, {VK_LMENU, 'X'}, true});
        m_model->executeLua(path);
        if (holdMs > 0) {
            m_desktop->planned.push_back({m_desktop->now + holdMs * 1000, {VK_XBUTTON2}, false});
            m_desktop->setKeyDown(VK_XBUTTON2, true);
            QCoreApplication::sendPostedEvents(); // the press reaches OnEvent, which plays
        }

        QVERIFY(!m_desktop->sent.empty());
        const LONGLONG first = m_desktop->sent.front().first;
        QStringList played;
        for (const auto& [time, record] : m_desktop->sent)
            played << QStringLiteral("%1 %2").arg((time - first) / 1000).arg(describe(record));
        QCOMPARE(played.size(), records.size());
        for (int i = 0; i < records.size(); ++i) {
            const int expectedMs = records[i].section(u' ', 0, 0).toInt();
            const int playedMs = played[i].section(u' ', 0, 0).toInt();
            const int stopMs = stopAtMs > 0 ? stopAtMs + 500 : holdMs;
            const int late = stopMs > 1 && expectedMs >= stopMs ? 10 : 1;
            QVERIFY2(records[i].section(u' ', 1) == played[i].section(u' ', 1) &&
                         playedMs >= expectedMs - 1 && playedMs <= expectedMs + late,
                     qPrintable(played.join(u'\n')));
        }
    }

    // A round of a repeating playback lasts at least a few milliseconds, so that a recorded
    // click is never repeated as a flood of clicks without up-time.
    void aRepeatingRoundLastsSomeMilliseconds_data()
    {
        QTest::addColumn<QList<RecordedStep>>("steps");
        QTest::addColumn<int>("tailMs");
        QTest::addColumn<QByteArray>("lastSteps");

        const RecordedStep press = RecordedStep::button(1, true);
        const RecordedStep release = RecordedStep::button(1, false);
        QTest::newRow("a click with no time at all")
            << QList{press, release} << 0
            << QByteArray("  {\"ReleaseMouseButton\", 1}, -- left\n  {\"Sleep\", 10},\n}");
        QTest::newRow("a short click stopped at once")
            << QList{press, RecordedStep::sleep(4), release} << 3
            << QByteArray("  {\"ReleaseMouseButton\", 1}, -- left\n  {\"Sleep\", 6},\n}");
        QTest::newRow("the recording's own tail")
            << QList{press, RecordedStep::sleep(50), release} << 30
            << QByteArray("  {\"ReleaseMouseButton\", 1}, -- left\n  {\"Sleep\", 30},\n}");
    }
    void aRepeatingRoundLastsSomeMilliseconds()
    {
        QFETCH(QList<RecordedStep>, steps);
        QFETCH(int, tailMs);
        QFETCH(QByteArray, lastSteps);
        const QByteArray script = RecordedScriptWriter::write(
            {steps, tailMs}, QDateTime(QDate(2025, 1, 31), QTime(14, 3)),
            {PlaybackTrigger::Kind::WhileButtonHeld, 5});
        QVERIFY2(script.contains(lastSteps), script.constData());
    }
};

CLAVITOR_TEST(RecordedScriptTest);
#include "RecordedScriptTest.moc"
