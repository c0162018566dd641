#include "ScenarioScripts.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "log/LogJournal.h"
#include "log/MessageCapture.h"
#include "logpage/LogPage.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A scenario that logs in a tight loop, with the page shown: the page takes the lines in a
// few batches and keeps the event loop going.
class LogPageLoadTest : public QObject
{
    Q_OBJECT

private slots:
    void aScenarioLoggingInALoopLeavesThePageResponsive()
    {
        platform::SimulatedPlatform desktop;
        platform::Platform::setCurrent(&desktop);
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
        // The lines go to the journal only, not into the test's output.
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString&) {});
        LogJournal journal;
        MessageCapture::install(journal);

        LogPage page(nullptr, journal);
        page.resize(700, 500);
        page.show();
        QTemporaryDir dir;
        const QString path =
            writeScript(dir, QStringLiteral("flood.lua"),
                        "function OnEvent(event)\n"
                        "  if event == 'MOUSE_BUTTON_PRESSED' then\n"
                        "    for i = 1, 10000 do OutputLogMessage('line %d\\n', i) end\n"
                        "  end\n"
                        "end\n");
        ScriptsModel model(nullptr, dir.path());
        model.executeLua(path);

        // A heartbeat every 5 ms: its longest gap while the page takes the lines of three
        // presses is how long the program stood still for the page.
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 worstGap = 0;
        QTimer beat;
        beat.setInterval(5);
        connect(&beat, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            worstGap = std::max(worstGap, now - last);
            last = now;
        });
        for (int press = 0; press < 3; ++press) {
            model.rigthMouseButtonStateChanged(true); // the script's loop: not the page's time
            model.rigthMouseButtonStateChanged(false);
            clock.start();
            last = 0;
            beat.start();
            QTest::qWait(3 * LogJournal::kBatchIntervalMs);
            beat.stop();
        }
        model.deactivateScript();
        MessageCapture::uninstall();
        qInstallMessageHandler(previous);
        platform::Platform::setCurrent(nullptr);

        QCOMPARE(journal.size(), LogJournal::kCapacity);
        QVERIFY(journal.dropped() >= 20000);
        QVERIFY2(worstGap < 250, qPrintable(QStringLiteral("%1 ms").arg(worstGap)));
    }
};

CLAVITOR_TEST(LogPageLoadTest);
#include "LogPageLoadTest.moc"
