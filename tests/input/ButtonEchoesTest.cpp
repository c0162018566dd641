#include "TestRegistry.h"

#include "input/ButtonEchoes.h"

#include <QTest>

namespace {

LONGLONG clockNs = 0;
LONGLONG readClock()
{
    return clockNs;
}

UINT messageOf(const QString& event)
{
    static const QHash<QString, UINT> kMessages{
        {"L+", WM_LBUTTONDOWN}, {"L-", WM_LBUTTONUP},   {"R+", WM_RBUTTONDOWN},
        {"R-", WM_RBUTTONUP},   {"M+", WM_MBUTTONDOWN}, {"M-", WM_MBUTTONUP}};
    return kMessages.value(event);
}

} // namespace

class ButtonEchoesTest : public QObject
{
    Q_OBJECT

private slots:
    void echoesAreTakenOnceAndOnlyInTime_data()
    {
        // "sent L+ @0": a left press sent at 0 ms; "seen L+ @250": one seen at 250 ms, which
        // is either the echo of one sent ("echo") or the user's ("user").
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("seen");
        QTest::newRow("each sent event is taken once, up to the limit")
            << "sent L+ @0, sent L+ @1, seen L+ @250, seen L+ @250, seen L+ @250"
            << "echo echo user";
        QTest::newRow("an event that has not come back in time is forgotten")
            << "sent L- @0, seen L- @251, seen L- @251"
            << "user user";
        QTest::newRow("only an event of the same button and direction is taken")
            << "sent R+ @0, seen R- @1, seen L+ @1, seen M+ @1, seen R+ @1"
            << "user user user echo";
    }
    void echoesAreTakenOnceAndOnlyInTime()
    {
        QFETCH(QString, steps);
        QFETCH(QString, seen);
        ButtonEchoes echoes(&readClock);
        QStringList outcomes;
        for (const QString& step : steps.split(", ")) {
            const QStringList words = step.split(' ');
            clockNs = 1'000'000'000 + words[2].mid(1).toLongLong() * 1'000'000;
            if (words[0] == "sent")
                QVERIFY(echoes.expect(messageOf(words[1])) >= 0);
            else
                outcomes << (echoes.take(messageOf(words[1])) ? "echo" : "user");
        }
        QCOMPARE(outcomes.join(' '), seen);
    }
};

CLAVITOR_TEST(ButtonEchoesTest);
#include "ButtonEchoesTest.moc"
