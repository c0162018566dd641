#include "TestRegistry.h"

#include "platform/WinApi.h"
#include "recorder/StepBuilder.h"

#include <QTest>

using Steps = QList<RecordedStep>;
using Events = QList<RecordedEvent>;
Q_DECLARE_METATYPE(StepBuilder::Options)

namespace {

using E = RecordedEvent;
using S = RecordedStep;

QString describe(const Steps& steps)
{
    QStringList parts;
    for (const RecordedStep& step : steps)
        parts << QStringLiteral("%1:%2,%3").arg(int(step.kind)).arg(step.value).arg(step.detail);
    return parts.join(u' ');
}

StepBuilder::Options timed(bool withMovement = true)
{
    return {withMovement, std::nullopt};
}

} // namespace

class StepBuilderTest : public QObject
{
    Q_OBJECT

private slots:
    void buildsSteps_data()
    {
        QTest::addColumn<StepBuilder::Options>("options");
        QTest::addColumn<Events>("events");
        QTest::addColumn<Steps>("steps");

        QTest::newRow("movement merged per window, sums exact, nothing left out")
            << timed() << Events{E::move(0, 1, 0),      E::move(2'000, 2, 1), E::move(7'999, 3, -1),
                                 E::move(8'000, 1, 1),  E::move(9'000, 1, 0), E::move(16'500, 4, 0),
                                 E::move(17'000, -4, 0)}
            << Steps{S::move(6, 0), S::sleep(8), S::move(2, 1)};
        QTest::newRow("another event ends a movement step")
            << timed()
            << Events{E::move(0, 1, 1), E::button(1'000, 1, true), E::move(2'000, 2, 2),
                      E::button(2'500, 1, false)}
            << Steps{S::move(1, 1), S::sleep(1),   S::button(1, true),
                     S::sleep(1),   S::move(2, 2), S::button(1, false)};
        QTest::newRow("fractions of a millisecond carried to the next wait")
            << timed()
            << Events{E::key(0, 30, 'A', true), E::key(1'500, 30, 'A', false),
                      E::key(3'000, 0xE04B, VK_LEFT, true), E::key(4'600, 0xE04B, VK_LEFT, false),
                      E::key(5'000, 57, VK_SPACE, true)}
            << Steps{S::key(30, 'A', true),          S::sleep(1),
                     S::key(30, 'A', false),         S::sleep(2),
                     S::key(0xE04B, VK_LEFT, true),  S::sleep(1),
                     S::key(0xE04B, VK_LEFT, false), S::sleep(1),
                     S::key(57, VK_SPACE, true)};
        QTest::newRow("fixed delay between steps")
            << StepBuilder::Options{true, 25}
            << Events{E::move(0, 1, 1), E::move(3'000, 1, 1), E::key(1'000'000, 30, 'A', true),
                      E::key(1'000'100, 30, 'A', false)}
            << Steps{S::move(2, 2), S::sleep(25), S::key(30, 'A', true), S::sleep(25),
                     S::key(30, 'A', false)};
        QTest::newRow("without movement the time of the moves still counts")
            << timed(false)
            << Events{E::button(0, 4, true), E::move(5'000, 10, 10), E::move(20'000, 10, 10),
                      E::button(30'000, 4, false)}
            << Steps{S::button(4, true), S::sleep(30), S::button(4, false)};
        QTest::newRow("wheel parts of a notch add up")
            << timed()
            << Events{E::wheel(0, 60), E::wheel(1'000, 60), E::wheel(2'000, -240),
                      E::wheel(3'000, 30)}
            << Steps{S::wheel(1), S::sleep(1), S::wheel(-2)};
        QTest::newRow("unplayable events left out, time running back counts as none")
            << timed()
            << Events{E::key(0, 0, 0, true), E::button(1'000, 6, true),
                      E::key(2'000, 30, 'A', true), E::key(1'500, 30, 'A', false)}
            << Steps{S::key(30, 'A', true), S::key(30, 'A', false)};
    }

    void buildsSteps()
    {
        QFETCH(StepBuilder::Options, options);
        QFETCH(Events, events);
        QFETCH(Steps, steps);
        const Steps built = StepBuilder(options).build({events, 0}).steps;
        QVERIFY2(built == steps, qPrintable(describe(built) + " != " + describe(steps)));
    }

    // The wait after the last step until the stop: what a repeating playback waits before
    // its next round.
    void theTailRunsFromTheLastStepToTheStop_data()
    {
        QTest::addColumn<StepBuilder::Options>("options");
        QTest::addColumn<Events>("events");
        QTest::addColumn<qint64>("stoppedUs");
        QTest::addColumn<int>("tailMs");

        const Events twoKeys{E::key(1'000, 30, 'A', true), E::key(2'500, 30, 'A', false)};
        QTest::newRow("recorded timing, the fraction carried")
            << timed() << twoKeys << qint64(14'000) << 12;
        QTest::newRow("a trailing movement is the last step")
            << timed() << Events{E::key(1'000, 30, 'A', true), E::move(5'000, 3, 0)}
            << qint64(9'000) << 4;
        QTest::newRow("a fixed delay")
            << StepBuilder::Options{true, 20} << twoKeys << qint64(900'000) << 20;
        QTest::newRow("nothing recorded") << timed() << Events{} << qint64(5'000) << 0;
        QTest::newRow("a stop before the last event counts as none")
            << timed() << twoKeys << qint64(2'000) << 0;
    }
    void theTailRunsFromTheLastStepToTheStop()
    {
        QFETCH(StepBuilder::Options, options);
        QFETCH(Events, events);
        QFETCH(qint64, stoppedUs);
        QFETCH(int, tailMs);
        QCOMPARE(StepBuilder(options).build({events, stoppedUs}).tailMs, tailMs);
    }
};

CLAVITOR_TEST(StepBuilderTest);
#include "StepBuilderTest.moc"
