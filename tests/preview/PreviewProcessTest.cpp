#include "GuideExamples.h"
#include "TestRegistry.h"

#include "preview/PreviewClient.h"
#include "preview/PreviewPath.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

PreviewResult answer(PreviewClient& client, const PreviewRequest& request)
{
    QSignalSpy finished(&client, &PreviewClient::finished);
    client.start(request);
    if (!finished.wait(20'000))
        return {};
    return finished.first().first().value<PreviewResult>();
}

} // namespace

// The preview through the real preview process, `clavitor --preview`.
class PreviewProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<PreviewResult>(); }

    void theProgramRunsTheSprayExample()
    {
        PreviewClient client(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        PreviewRequest request;
        request.scenarioName = QStringLiteral("spray");
        request.script = guideExamples().at(kSprayExample);
        const PreviewResult result = answer(client, request);
        QCOMPARE(result.end, PreviewResult::End::Finished);
        QList<QPoint> path;
        for (const PreviewPath::Point& point : PreviewPath(result).points().mid(1))
            path << (point.position - QPointF(result.start)).toPoint();
        QCOMPARE(path, kSprayPath);
        QCOMPARE(result.durationUs / 1000, 2000);
    }

    void theProgramReportsALoadError()
    {
        PreviewClient client(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        PreviewRequest request;
        request.scenarioName = QStringLiteral("broken");
        request.script = QStringLiteral("function OnEvent(\n");
        const PreviewResult result = answer(client, request);
        QCOMPARE(result.end, PreviewResult::End::ScriptError);
        QVERIFY2(result.errorText.startsWith(QStringLiteral("broken:")), qPrintable(result.errorText));
    }

    void aProcessThatDoesNotAnswerIsEnded()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("silent.sh"));
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexec sleep 30\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        PreviewClient client(nullptr, program);
        client.setAnswerTimeout(300);
        const PreviewResult result = answer(client, PreviewRequest{});
        QCOMPARE(result.end, PreviewResult::End::NoAnswer);
        QVERIFY(!client.isRunning());
    }

    void aProgramThatCannotStartIsAFailure()
    {
        PreviewClient client(nullptr, QStringLiteral("/nonexistent/clavitor"));
        const PreviewResult result = answer(client, PreviewRequest{});
        QCOMPARE(result.end, PreviewResult::End::Failed);
        QVERIFY(!result.message().isEmpty());
    }
};

CLAVITOR_TEST(PreviewProcessTest);
#include "PreviewProcessTest.moc"
