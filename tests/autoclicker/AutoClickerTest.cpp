#include "AutoclickerTestSupport.h"
#include "TestRegistry.h"

#include "autoclicker/AutoClicker.h"
#include "autoclicker/ClickClock.h"

#include <QKeySequence>
#include <QMap>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>

using platform::SimulatedPlatform;

namespace {

// Time passes only when the engine looks at the clock (20 µs a look), sends a record (the
// record's cost, none unless set), sleeps or waits, and when a test lets it pass. Every record
// sent is written into the timeline with the time at which it was sent.
class FakeClock : public ClickClock
{
public:
    explicit FakeClock(SimulatedPlatform& desktop) : m_desktop(desktop) {}

    void setRecordCostUs(qint64 microseconds) { m_recordCostNs = microseconds * 1000; }
    void advanceToUs(qint64 microseconds) { m_now = std::max(m_now, microseconds * 1000); }
    qint64 nowUs() const { return m_now / 1000; }
    // Writes the records sent since the engine last looked at the clock into the timeline.
    void flush() { note(); }

    qint64 nowNs() override
    {
        note();
        m_now += 20'000;
        return m_now;
    }
    void sleepUs(qint64 microseconds) override
    {
        note();
        sleeps << microseconds;
        timeline << QStringLiteral("sleep");
        m_now += microseconds * 1000;
    }
    void sleepUntil(qint64 ns) override { waitUntil(ns); }
    void waitUntil(qint64 ns) override
    {
        note();
        if (ns > m_now) {
            waits << (ns - m_now) / 1000;
            m_now = ns;
        }
    }

    // The time at which the n-th record of the timeline was sent, in µs.
    qint64 sentAt(int n) const { return m_sentAt.value(n); }

    QList<qint64> sleeps;
    QList<qint64> waits; // in µs
    QStringList timeline;

private:
    void note()
    {
        for (const INPUT& record : m_desktop.takeSentRecords()) {
            m_now += m_recordCostNs;
            m_sentAt.append(m_now / 1000);
            timeline << describe(record);
        }
    }

    SimulatedPlatform& m_desktop;
    qint64 m_now = 0;
    qint64 m_recordCostNs = 0;
    QList<qint64> m_sentAt;
};

// Firings of the timer that come late: firing n comes at the given time in ms.
using LateFirings = QMap<int, int>;

} // namespace

class AutoClickerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;
    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<AutoClicker> m_clicker;

    // The delay the engine armed its timer with after the last tick; -1 when not armed.
    int armedDelay() const
    {
        const QTimer* timer = m_clicker->findChild<QTimer*>();
        return timer->isActive() ? timer->interval() : -1;
    }

    // The timer fires: at the time it was armed for, or at atUs when that is later.
    void fireTimer(qint64 atUs = 0)
    {
        QTimer* timer = m_clicker->findChild<QTimer*>();
        QVERIFY(timer->isActive());
        m_clock->advanceToUs(std::max(m_clock->nowUs() + timer->interval() * 1000, atUs));
        timer->stop();
        QMetaObject::invokeMethod(timer, "timeout");
    }

    // When each tick pressed the button, in µs after the first tick did.
    QList<qint64> pressTimes() const
    {
        QList<qint64> times;
        for (int n = 0; n < m_clock->timeline.size(); ++n) {
            if (m_clock->timeline[n] == QLatin1String("left down"))
                times << m_clock->sentAt(n) - m_clock->sentAt(0);
        }
        return times;
    }

    QStringList records() const
    {
        m_clock->flush();
        QStringList sent = m_clock->timeline;
        sent.removeAll(QStringLiteral("sleep"));
        return sent;
    }

private slots:
    void init()
    {
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        m_clock = std::make_unique<FakeClock>(*m_desktop);
        m_clicker = std::make_unique<AutoClicker>(*m_clock);
    }

    void cleanup()
    {
        m_clicker.reset();
        m_clock.reset();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void countedRunOfOneEndsInsideStart()
    {
        m_clicker->setMode(AutoClicker::HotkeyRepeat);
        m_clicker->setRepeatCount(1);
        QSignalSpy stopped(m_clicker.get(), &AutoClicker::stopped);
        m_clicker->start();
        QCOMPARE(stopped.size(), 1);
        QVERIFY(!m_clicker->isRunning());
        QCOMPARE(records(), (QStringList{"left down", "left up"}));
    }

    void holdIsHalfTheIntervalWithinFiveToFiftyMs_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QList<qint64>>("waits");
        QTest::addColumn<bool>("nextAtOnce");
        // Two clicks wait half a hold between them.
        QTest::newRow("10 ms") << 10 << 1 << QList<qint64>{5000} << false;
        QTest::newRow("10 ms, two clicks outlast the interval")
            << 10 << 2 << QList<qint64>{5000, 2500, 5000} << true;
        QTest::newRow("3 ms: at least 5") << 3 << 1 << QList<qint64>{5000} << true;
        QTest::newRow("100 ms") << 100 << 1 << QList<qint64>{50000} << false;
        QTest::newRow("1000 ms: at most 50") << 1000 << 1 << QList<qint64>{50000} << false;
    }
    void holdIsHalfTheIntervalWithinFiveToFiftyMs()
    {
        QFETCH(int, interval);
        QFETCH(int, clicks);
        QFETCH(QList<qint64>, waits);
        QFETCH(bool, nextAtOnce);
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->setInterval(interval);
        m_clicker->setClicksPerTick(clicks);
        m_clicker->start();

        QCOMPARE(m_clock->waits, waits);
        const qint64 hold = m_clock->sentAt(1) - m_clock->sentAt(0);
        const qint64 expectedHold = std::clamp(interval * 500, 5000, 50000);
        QVERIFY2(hold >= expectedHold && hold < expectedHold + 100,
                 qPrintable(QString::number(hold)));
        QCOMPARE(armedDelay() == 0, nextAtOnce);
        QVERIFY(m_clicker->isRunning());
    }

    void firstTickOfHoldModeClicksAtOnceWithoutMoving()
    {
        m_clicker->setMode(AutoClicker::HoldLeft);
        m_clicker->setOffset({0, 10});
        m_clicker->setClicksPerTick(2);
        m_clicker->start();
        QCOMPARE(records(), (QStringList{"left down", "left up", "left down", "left up"}));
        QCOMPARE(m_clock->waits, (QList<qint64>{50000, 50000})); // no gap between the clicks

        m_clock->timeline.clear();
        m_clock->waits.clear();
        m_clicker->click();
        QCOMPARE(records(),
                 (QStringList{"move 0 10", "left down", "left up", "left down", "left up"}));
        QCOMPARE(m_clock->waits, (QList<qint64>{50000, 25000, 50000}));
    }

    // Ticks are due on the run's timeline: a tick's own work (0.3 ms here) and a late tick
    // move no tick after them. lateFirings: the firings of the timer that come late, at the
    // given time (ms after the first tick); the others come when the timer was armed for.
    void ticksKeepTheTimelineOfTheRun_data()
    {
        QTest::addColumn<int>("firings");
        QTest::addColumn<LateFirings>("lateFirings");
        QTest::addColumn<QList<qint64>>("startsMs");
        QList<qint64> everyTenMs;
        for (int n = 0; n <= 1000; ++n)
            everyTenMs << n * 10;
        QTest::newRow("no drift over 1000 ticks") << 1000 << LateFirings{} << everyTenMs;
        QTest::newRow("a late tick does not delay the next")
            << 3 << LateFirings{{2, 24}} << QList<qint64>{0, 10, 24, 30};
        QTest::newRow("a tick over an interval late is skipped")
            << 3 << LateFirings{{2, 31}} << QList<qint64>{0, 10, 31, 40};
    }
    void ticksKeepTheTimelineOfTheRun()
    {
        QFETCH(int, firings);
        QFETCH(LateFirings, lateFirings);
        QFETCH(QList<qint64>, startsMs);
        m_clock->setRecordCostUs(150);
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->setInterval(10);
        m_clicker->start();
        const qint64 firstPressUs = m_clock->sentAt(0);
        for (int n = 1; n <= firings; ++n)
            fireTimer(lateFirings.contains(n) ? firstPressUs + lateFirings[n] * 1000 : 0);

        const QList<qint64> starts = pressTimes();
        QCOMPARE(starts.size(), startsMs.size());
        for (int n = 0; n < starts.size(); ++n) {
            QVERIFY2(std::abs(starts[n] - startsMs[n] * 1000) < 250,
                     qPrintable(QStringLiteral("tick %1 at %2 µs").arg(n).arg(starts[n])));
        }
    }

    // However late the timer has been firing (5 ms here), it wakes the engine at most about
    // 2 ms before a tick is due: the engine blocks the GUI thread from then to the tick.
    void timerWakesAtMostTwoMsBeforeTheTick()
    {
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->setInterval(10);
        m_clicker->start();
        for (int n = 0; n < 20; ++n)
            fireTimer(m_clock->nowUs() + armedDelay() * 1000 + 5000);
        for (int n = 0; n < 20; ++n) {
            const qint64 firedUs = m_clock->nowUs() + armedDelay() * 1000;
            fireTimer();
            m_clock->flush();
            const qint64 pressUs =
                m_clock->sentAt(m_clock->timeline.lastIndexOf(QStringLiteral("left down")));
            // 2 ms and the engine's few looks at the clock.
            QVERIFY2(pressUs - firedUs <= 2100,
                     qPrintable(QStringLiteral("blocked %1 µs").arg(pressUs - firedUs)));
        }
    }

    // Each interval is a whole-millisecond draw within 10 % of the set one, not the draw
    // lengthened by the tick's work, and the draws differ.
    void randomisedIntervalsKeepTheirDraws()
    {
        m_clock->setRecordCostUs(150);
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->setInterval(100);
        m_clicker->setIntervalRandomization(1);
        m_clicker->start();
        for (int n = 0; n < 100; ++n)
            fireTimer();

        const QList<qint64> starts = pressTimes();
        QSet<qint64> intervals;
        for (int n = 1; n < starts.size(); ++n) {
            const qint64 interval = starts[n] - starts[n - 1];
            QVERIFY2(interval % 1000 == 0 && interval >= 90'000 && interval <= 110'000,
                     qPrintable(QString::number(interval)));
            intervals.insert(interval);
        }
        QVERIFY(intervals.size() > 1);
    }

    void ticksWithoutClicksOnlyMove_data()
    {
        QTest::addColumn<bool>("clickEnabled");
        QTest::addColumn<int>("clicks");
        QTest::newRow("clicks off") << false << 1;
        QTest::newRow("no clicks per tick") << true << 0;
    }
    void ticksWithoutClicksOnlyMove()
    {
        QFETCH(bool, clickEnabled);
        QFETCH(int, clicks);
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->setClickEnabled(clickEnabled);
        m_clicker->setClicksPerTick(clicks);
        m_clicker->setOffset({3, 0});
        m_clicker->setOffsetRandomization(3); // ±20 % of 3 is less than one
        m_clicker->start();
        m_clicker->click();
        QCOMPARE(records(), (QStringList{"move 3 0", "move 3 0"}));
    }

    void smoothMoveOfOneStepsInTheFifthStep()
    {
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->setClickEnabled(false);
        m_clicker->setOffset({1, 0});
        m_clicker->setSmoothMove(true);
        m_clicker->start();
        QStringList expected(10, QStringLiteral("sleep"));
        expected.insert(4, QStringLiteral("move 1 0"));
        QCOMPARE(m_clock->timeline, expected);
        QCOMPARE(m_clock->sleeps, QList<qint64>(10, 5000));
    }

    void pressesTheButtonOrKey_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("right") << int(Qt::RightButton) << -1
                               << QStringList{"right down", "right up"};
        QTest::newRow("middle") << int(Qt::MiddleButton) << -1
                                << QStringList{"middle down", "middle up"};
        QTest::newRow("Alt+A: the letter alone") << 0 << (Qt::AltModifier | Qt::Key_A).toCombined()
                                                 << QStringList{"key 0x41 down", "key 0x41 up"};
        QTest::newRow("F5 by its name")
            << 0 << int(Qt::Key_F5) << QStringList{"key 0x74 down", "key 0x74 up"};
        QTest::newRow("no key") << 0 << 0 << QStringList{};
        // Keypad keys are keys of their own; the 5 of the main row is not one of them.
        const std::pair<QKeyCombination, int> keys[] = {
            {Qt::Key_5, 0x35},
            {Qt::KeypadModifier | Qt::Key_0, 0x60},
            {Qt::KeypadModifier | Qt::Key_5, 0x65},
            {Qt::KeypadModifier | Qt::Key_Asterisk, 0x6a},
            {Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus, 0x6b},
            {Qt::KeypadModifier | Qt::Key_Minus, 0x6d},
            {Qt::KeypadModifier | Qt::Key_Period, 0x6e},
            {Qt::KeypadModifier | Qt::Key_Slash, 0x6f},
        };
        for (const auto& [key, virtualKey] : keys) {
            const QString pressed = QStringLiteral("key 0x%1 ").arg(virtualKey, 2, 16);
            QTest::addRow("%s", qPrintable(QKeySequence(key).toString()))
                << 0 << key.toCombined() << QStringList{pressed + "down", pressed + "up"};
        }
    }
    void pressesTheButtonOrKey()
    {
        QFETCH(int, button);
        QFETCH(int, key);
        QFETCH(QStringList, sent);
        if (key >= 0)
            m_clicker->setKeyboardKey(key);
        else
            m_clicker->setMouseButton(button);
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->start();
        QCOMPARE(records(), sent);
    }

    void stopOnIdleEngineStillReportsIt()
    {
        QSignalSpy stopped(m_clicker.get(), &AutoClicker::stopped);
        m_clicker->stop();
        QCOMPARE(stopped.size(), 1);
    }
};

CLAVITOR_TEST(AutoClickerTest);
#include "AutoClickerTest.moc"
