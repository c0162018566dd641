#include "AutoclickerTestSupport.h"
#include "TestRegistry.h"

#include "autoclicker/AutoClicker.h"
#include "autoclicker/ClickClock.h"

#include <QKeySequence>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using platform::SimulatedPlatform;

namespace {

// Time passes only when the engine looks at the clock (20 µs a look) or sleeps. Every record
// sent is written into the timeline with the time at which it was sent.
class FakeClock : public ClickClock
{
public:
    explicit FakeClock(SimulatedPlatform& desktop) : m_desktop(desktop) {}

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
    void yield() override {}

    // The time at which the n-th record of the timeline was sent, in µs.
    qint64 sentAt(int n) const { return m_sentAt.value(n); }

    QList<qint64> sleeps;
    QStringList timeline;

private:
    void note()
    {
        for (const INPUT& record : m_desktop.takeSentRecords()) {
            m_sentAt.append(m_now / 1000);
            timeline << describe(record);
        }
    }

    SimulatedPlatform& m_desktop;
    qint64 m_now = 0;
    QList<qint64> m_sentAt;
};

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

    QStringList records() const
    {
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
        QTest::addColumn<QList<qint64>>("sleeps");
        QTest::addColumn<int>("delay");
        // A hold above 2 ms sleeps all but its last 1.5 ms; a half-hold gap of 2.5 ms too.
        QTest::newRow("10 ms") << 10 << 1 << QList<qint64>{3500} << 5;
        QTest::newRow("10 ms, two clicks outlast the interval")
            << 10 << 2 << QList<qint64>{3500, 1000, 3500} << 0;
        QTest::newRow("3 ms: at least 5") << 3 << 1 << QList<qint64>{3500} << 0;
        QTest::newRow("100 ms") << 100 << 1 << QList<qint64>{48500} << 50;
        QTest::newRow("1000 ms: at most 50") << 1000 << 1 << QList<qint64>{48500} << 950;
    }
    void holdIsHalfTheIntervalWithinFiveToFiftyMs()
    {
        QFETCH(int, interval);
        QFETCH(int, clicks);
        QFETCH(QList<qint64>, sleeps);
        QFETCH(int, delay);
        m_clicker->setMode(AutoClicker::HotkeyToggle);
        m_clicker->setInterval(interval);
        m_clicker->setClicksPerTick(clicks);
        m_clicker->start();

        QCOMPARE(m_clock->sleeps, sleeps);
        const qint64 hold = m_clock->sentAt(1) - m_clock->sentAt(0);
        const qint64 expectedHold = std::clamp(interval * 500, 5000, 50000);
        QVERIFY2(hold >= expectedHold && hold < expectedHold + 100,
                 qPrintable(QString::number(hold)));
        QCOMPARE(armedDelay(), delay);
        QVERIFY(m_clicker->isRunning());
    }

    void firstTickOfHoldModeClicksAtOnceWithoutMoving()
    {
        m_clicker->setMode(AutoClicker::HoldLeft);
        m_clicker->setOffset({0, 10});
        m_clicker->setClicksPerTick(2);
        m_clicker->start();
        QCOMPARE(records(), (QStringList{"left down", "left up", "left down", "left up"}));
        QCOMPARE(m_clock->sleeps, (QList<qint64>{48500, 48500})); // no gap between the clicks

        m_clock->timeline.clear();
        m_clock->sleeps.clear();
        m_clicker->click();
        QCOMPARE(records(),
                 (QStringList{"move 0 10", "left down", "left up", "left down", "left up"}));
        QCOMPARE(m_clock->sleeps, (QList<qint64>{48500, 23500, 48500}));
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
