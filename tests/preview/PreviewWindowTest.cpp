#include "GuideExamples.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "preview/PreviewPath.h"
#include "preview/PreviewWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The preview window, running its scripts through the real preview process.
class PreviewWindowTest : public QObject
{
    Q_OBJECT

    static bool waitForResult(PreviewWindow& window)
    {
        QSignalSpy shown(&window, &PreviewWindow::resultShown);
        return shown.wait(20'000);
    }

    template <typename T> static T* child(PreviewWindow& window, const char* name)
    {
        return window.findChild<T*>(QString::fromLatin1(name));
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void offersTheThreeTimelines()
    {
        PreviewWindow window(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        const QComboBox* timelines = child<QComboBox>(window, "comboTimeline");
        QStringList texts;
        for (int i = 0; i < timelines->count(); ++i)
            texts << timelines->itemText(i);
        QCOMPARE(texts, (QStringList{QStringLiteral("ЛКМ зажата 2 с"),
                                     QStringLiteral("ПКМ, затем ЛКМ 2 с"),
                                     QStringLiteral("Нажатие ЛКМ")}));
    }

    void showsTheRunsLengthLogAndMessage()
    {
        PreviewWindow window(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        window.run(QStringLiteral("spray"),
                   guideExamples().at(kSprayExample) +
                       QStringLiteral("\nOutputLogMessage('ready')\nfunction OnEvent() error('late') end\n"),
                   MovementModifiers{});
        QVERIFY(window.isVisible());
        QVERIFY(waitForResult(window));
        QVERIFY2(child<QLabel>(window, "labelSummary")->text().contains(QStringLiteral("2000 мс")),
                 qPrintable(child<QLabel>(window, "labelSummary")->text()));
        QCOMPARE(child<QLabel>(window, "labelMessage")->text(), QString());
        const QStringList log =
            child<QPlainTextEdit>(window, "textLog")->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(log.first().section(QLatin1Char(' '), 0, 0), QStringLiteral("00:00:00.000"));
        QVERIFY2(log.first().endsWith(QStringLiteral("spray: ready")), qPrintable(log.first()));
        QVERIFY2(log.at(1).contains(QStringLiteral("Ошибка Lua в OnEvent: spray:")), qPrintable(log.at(1)));
    }

    void showsHowAStoppedRunEnded()
    {
        PreviewWindow window(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        window.run(QStringLiteral("loop"), QStringLiteral("while true do end"), MovementModifiers{});
        QVERIFY(waitForResult(window));
        QCOMPARE(child<QLabel>(window, "labelMessage")->text(),
                 QStringLiteral("Предпросмотр остановлен: сценарий крутится в цикле без вызовов функций"));
    }

    void overlaysThePreviousRunWhenAsked()
    {
        PreviewWindow window(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        window.run(QStringLiteral("a"), QStringLiteral("MoveMouseRelative(0, 100)"), MovementModifiers{});
        QVERIFY(waitForResult(window));
        window.run(QStringLiteral("a"), QStringLiteral("MoveMouseRelative(100, 0)"), MovementModifiers{});
        QVERIFY(waitForResult(window));
        QWidget* plot = child<QWidget>(window, "previewPlot");
        const QImage alone = plot->grab().toImage();
        child<QCheckBox>(window, "checkOverlayPrevious")->setChecked(true);
        QVERIFY(plot->grab().toImage() != alone);
    }

    // "Запустить снова" runs the text as its source (the editor) holds it now.
    void runAgainTakesTheTextAsItStandsNow()
    {
        PreviewWindow window(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        QString text = QStringLiteral("MoveMouseRelative(0, 100)");
        window.setScriptSource([&text] { return text; });
        window.run(QStringLiteral("a"), text, MovementModifiers{});
        QVERIFY(waitForResult(window));
        text += QStringLiteral("\nMoveMouseRelative(0, 100)");
        child<QPushButton>(window, "buttonRunAgain")->click();
        QVERIFY(waitForResult(window));
        QVERIFY2(child<QLabel>(window, "labelSummary")->text().startsWith(QStringLiteral("Путь: 200.0")),
                 qPrintable(child<QLabel>(window, "labelSummary")->text()));
    }

    void exportsThePlotAsPng()
    {
        ScriptedPrompter prompter;
        QTemporaryDir dir;
        PreviewWindow window(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        window.run(QStringLiteral("spray"), guideExamples().at(kSprayExample), MovementModifiers{});
        QVERIFY(waitForResult(window));
        const QString path = dir.filePath(QStringLiteral("plot.png"));
        prompter.queueValue(path);
        child<QPushButton>(window, "buttonExportPng")->click();
        QImage saved;
        QVERIFY(saved.load(path, "PNG"));
        QCOMPARE(saved.size(), child<QWidget>(window, "previewPlot")->grab().size());

        prompter.queueValue(dir.filePath(QStringLiteral("missing/plot.png")));
        child<QPushButton>(window, "buttonExportPng")->click();
        QCOMPARE(prompter.prompts.last().kind, Prompt::Kind::Warning);
    }

    void measuresThePathsDistance()
    {
        PreviewResult result;
        result.records = {{0, PreviewResult::Record::Kind::Move, 3, 4},
                          {1, PreviewResult::Record::Kind::Jump, 500, 500},
                          {2, PreviewResult::Record::Kind::Move, -6, -8}};
        QCOMPARE(PreviewPath(result).distance(), 15.0);
    }
};

CLAVITOR_TEST(PreviewWindowTest);
#include "PreviewWindowTest.moc"
