#include "GuideExamples.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "preview/PreviewPath.h"
#include "preview/PreviewRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {

PreviewResult runText(const QString& script,
                      PreviewTimeline::Kind timeline = PreviewTimeline::Kind::LeftHold,
                      bool capsLock = false, MovementModifiers modifiers = {})
{
    PreviewRequest request;
    request.scenarioName = QStringLiteral("test");
    request.script = script;
    request.timeline = timeline;
    request.capsLock = capsLock;
    request.modifiers = modifiers;
    return PreviewRunner::run(request);
}

// The pointer's way, relative to the start, without the start.
QList<QPoint> pathOf(const PreviewResult& result)
{
    QList<QPoint> points;
    const QList<PreviewPath::Point> path = PreviewPath(result).points();
    for (qsizetype i = 1; i < path.size(); ++i)
        points << (path.at(i).position - QPointF(result.start)).toPoint();
    return points;
}

QStringList logTexts(const PreviewResult& result)
{
    QStringList texts;
    for (const PreviewResult::LogLine& line : result.log)
        texts << line.text;
    return texts;
}

} // namespace

// A script's text run ahead of time on the virtual clock, in this process.
class PreviewRunnerTest : public QObject
{
    Q_OBJECT

private slots:
    void sprayExampleMovesAlongItsTable()
    {
        const QList<QString> examples = guideExamples();
        QCOMPARE(examples.size(), 4);
        const PreviewResult result = runText(examples.at(kSprayExample));
        QCOMPARE(result.end, PreviewResult::End::Finished);
        QCOMPARE(pathOf(result), kSprayPath);
        // Sleep(100) waits 101 ms of the virtual clock: a shot at 0, 101, 202, ... ms.
        QList<qint64> shotMs;
        for (const PreviewResult::Record& record : result.records)
            shotMs << record.atUs / 1000;
        QCOMPARE(shotMs, (QList<qint64>{0, 101, 202, 303, 404, 505, 606, 707}));
        QCOMPARE(result.durationUs / 1000, 2000);
    }

    void sprayExampleFiresOnceOnAClick()
    {
        const PreviewResult result =
            runText(guideExamples().at(kSprayExample), PreviewTimeline::Kind::LeftClick);
        QCOMPARE(pathOf(result), (QList<QPoint>{{0, 4}}));
    }

    void recoilExamplePullsDownForHalfASecond()
    {
        // One move of (0, 2) every 11 ms while less than 500 ms went by: at 0, 11, ..., 495.
        const PreviewResult result = runText(guideExamples().at(1));
        QCOMPARE(result.records.size(), 46);
        QCOMPARE(pathOf(result).last(), QPoint(0, 92));
    }

    void sleepAndRunningTimeFollowTheVirtualClock()
    {
        QElapsedTimer real;
        real.start();
        const PreviewResult result = runText(QStringLiteral(
            "EnablePrimaryMouseButtonEvents(true)\n"
            "local a = GetRunningTime(); Sleep(100)\n"
            "OutputLogMessage('%d %d', a, GetRunningTime())\n"
            "function OnEvent(event, arg)\n"
            "  if event == 'MOUSE_BUTTON_PRESSED' then\n"
            "    while IsMouseButtonPressed(1) do Sleep(1) end\n"
            "    OutputLogMessage('released %d', GetRunningTime())\n"
            "  end\n"
            "end\n"));
        QVERIFY2(real.elapsed() < 1000, qPrintable(QString::number(real.elapsed())));
        // The chunk's Sleep(100) lasts 101 ms, so the press is heard at 101 ms; each Sleep(1)
        // lasts 2 ms, and the release at 2000 ms is seen at 2001 ms.
        QCOMPARE(logTexts(result), (QStringList{QStringLiteral("0 101"), QStringLiteral("released 2001")}));
        QCOMPARE(result.log.at(0).atUs / 1000, 101);
    }

    void eventsFollowTheTimelineAndTheEngineRules_data()
    {
        QTest::addColumn<PreviewTimeline::Kind>("timeline");
        QTest::addColumn<bool>("primary");
        QTest::addColumn<QStringList>("events");
        const QString script;
        QTest::newRow("right then left, left wanted")
            << PreviewTimeline::Kind::RightThenLeft << true
            << QStringList{"PROFILE_ACTIVATED nil 0", "MOUSE_BUTTON_PRESSED 3 0",
                           "MOUSE_BUTTON_PRESSED 1 100", "MOUSE_BUTTON_RELEASED 1 2100",
                           "MOUSE_BUTTON_RELEASED 3 2100", "PROFILE_DEACTIVATED nil 2100"};
        QTest::newRow("right then left, left not wanted")
            << PreviewTimeline::Kind::RightThenLeft << false
            << QStringList{"PROFILE_ACTIVATED nil 0", "MOUSE_BUTTON_PRESSED 3 0",
                           "MOUSE_BUTTON_RELEASED 3 2100", "PROFILE_DEACTIVATED nil 2100"};
        QTest::newRow("click") << PreviewTimeline::Kind::LeftClick << true
                               << QStringList{"PROFILE_ACTIVATED nil 0", "MOUSE_BUTTON_PRESSED 1 0",
                                              "MOUSE_BUTTON_RELEASED 1 50",
                                              "PROFILE_DEACTIVATED nil 50"};
    }

    void eventsFollowTheTimelineAndTheEngineRules()
    {
        QFETCH(PreviewTimeline::Kind, timeline);
        QFETCH(bool, primary);
        QFETCH(QStringList, events);
        const PreviewResult result = runText(
            QStringLiteral("EnablePrimaryMouseButtonEvents(%1)\n"
                           "function OnEvent(event, arg)\n"
                           "  OutputLogMessage('%s %s %d', event, tostring(arg), GetRunningTime())\n"
                           "end\n")
                .arg(primary ? QStringLiteral("true") : QStringLiteral("false")),
            timeline);
        QCOMPARE(logTexts(result), events);
    }

    void anEventThatCameWhileOnEventWasBusyIsDeliveredWhenItReturns()
    {
        const PreviewResult result = runText(
            QStringLiteral("EnablePrimaryMouseButtonEvents(true)\n"
                           "function OnEvent(event, arg)\n"
                           "  if event == 'MOUSE_BUTTON_PRESSED' then Sleep(500) end\n"
                           "  if event == 'MOUSE_BUTTON_RELEASED' then\n"
                           "    OutputLogMessage('%d', GetRunningTime())\n"
                           "  end\n"
                           "end\n"),
            PreviewTimeline::Kind::LeftClick);
        QCOMPARE(logTexts(result), QStringList{QStringLiteral("501")});
    }

    void capsLockIsAsChosen_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }

    void capsLockIsAsChosen()
    {
        QFETCH(bool, on);
        const PreviewResult result =
            runText(QStringLiteral("OutputLogMessage(tostring(IsKeyLockOn('capslock')))\n"
                                   "function OnEvent() end\n"),
                    PreviewTimeline::Kind::LeftHold, on);
        QCOMPARE(logTexts(result), QStringList{on ? QStringLiteral("true") : QStringLiteral("false")});
    }

    void theRowsModifiersScaleRelativeMovesOnly()
    {
        MovementModifiers modifiers;
        modifiers.xy = 2.0;
        modifiers.y = 1.5;
        const PreviewResult result =
            runText(QStringLiteral("MoveMouseRelative(3, 2)\nMoveMouseTo(100, 200)\n"),
                    PreviewTimeline::Kind::LeftHold, false, modifiers);
        QCOMPARE(result.records.size(), 2);
        QCOMPARE(result.records.at(0), (PreviewResult::Record{result.records.at(0).atUs,
                                                              PreviewResult::Record::Kind::Move, 6, 6}));
        QCOMPARE(result.records.at(1), (PreviewResult::Record{result.records.at(1).atUs,
                                                              PreviewResult::Record::Kind::Jump, 100, 200}));
    }

    void boundsStopTheRun_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<PreviewResult::End>("end");
        QTest::newRow("60 s of virtual time")
            << "function OnEvent() while true do Sleep(1000) end end" << PreviewResult::End::VirtualTime;
        QTest::newRow("a million calls")
            << "while true do GetMousePosition() end" << PreviewResult::End::Calls;
        QTest::newRow("a million calls of an alias")
            << "while true do IsMBP(1) end" << PreviewResult::End::Calls;
        QTest::newRow("a loop without calls") << "while true do end" << PreviewResult::End::Spinning;
        QTest::newRow("a loop that catches the stop")
            << "while true do pcall(function() while true do end end) end"
            << PreviewResult::End::Spinning;
        QTest::newRow("a loop in a coroutine")
            << "coroutine.wrap(function() while true do end end)()" << PreviewResult::End::Spinning;
        QTest::newRow("memory") << "local s = 'x' while true do s = s .. s end"
                                << PreviewResult::End::Memory;
    }

    void boundsStopTheRun()
    {
        QFETCH(QString, script);
        QFETCH(PreviewResult::End, end);
        QElapsedTimer real;
        real.start();
        const PreviewResult result = runText(script);
        QCOMPARE(result.end, end);
        QVERIFY(!result.message().isEmpty());
        QVERIFY2(real.elapsed() < 2000, qPrintable(QString::number(real.elapsed())));
    }

    void aLoadErrorIsAResultWithItsLine()
    {
        const PreviewResult result = runText(QStringLiteral("local a = 1\nx = = 2\n"));
        QCOMPARE(result.end, PreviewResult::End::ScriptError);
        QVERIFY2(result.errorText.startsWith(QStringLiteral("test:2:")), qPrintable(result.errorText));
    }

    void anErrorInOnEventIsLoggedAndTheRunGoesOn()
    {
        const PreviewResult result = runText(
            QStringLiteral("function OnEvent(event)\n"
                           "  if event == 'PROFILE_ACTIVATED' then error('boom') end\n"
                           "  OutputLogMessage(event)\n"
                           "end\n"),
            PreviewTimeline::Kind::RightThenLeft);
        QCOMPARE(result.end, PreviewResult::End::Finished);
        QCOMPARE(result.log.first().error, true);
        QCOMPARE(result.log.first().text, QStringLiteral("Ошибка Lua в OnEvent: test:2: boom"));
        QCOMPARE(result.log.last().text, QStringLiteral("PROFILE_DEACTIVATED"));
    }

    void nothingReachesTheProcesssDesktopAndItsStateIsKept()
    {
        platform::SimulatedPlatform desktop;
        platform::Platform::setCurrent(&desktop);
        qApp->setProperty(AppProperty::controlMode, 1);
        qApp->setProperty(AppProperty::scenarioXY, 3.0);
        EngineState::instance().primaryButtonEventsEnabled = true;
        const PreviewResult result = runText(QStringLiteral(
            "MoveMouseRelative(5, 5) PressMouseButton(1) ReleaseMouseButton(1)\n"
            "PressAndReleaseKey('a') EnablePrimaryMouseButtonEvents(false)"));
        QCOMPARE(result.records.size(), 5);
        QVERIFY(desktop.takeSentRecords().empty());
        QCOMPARE(&platform::Platform::current(), &desktop);
        QCOMPARE(qApp->property(AppProperty::controlMode).toInt(), 1);
        QCOMPARE(qApp->property(AppProperty::scenarioXY).toDouble(), 3.0);
        QVERIFY(EngineState::instance().primaryButtonEventsEnabled);
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::controlMode, QVariant());
        qApp->setProperty(AppProperty::scenarioXY, QVariant());
        platform::Platform::setCurrent(nullptr);
    }
};

CLAVITOR_TEST(PreviewRunnerTest);
#include "PreviewRunnerTest.moc"
