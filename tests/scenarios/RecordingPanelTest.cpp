#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "recorder/Recorder.h"
#include "scenarios/RecordingSaveDialog.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>

namespace {

// Answers the save dialog once it is open: the trigger chosen (nothing: Cancel), and whether
// it warned that the trigger's button was pressed within the recording. Answers queued one
// after the other answer the dialog's openings in turn.
void answerSaveDialog(ScriptsListWidget& page, const std::optional<PlaybackTrigger>& trigger,
                      bool* warned, int queued = 0)
{
    static int answered = 0, asked = 0;
    if (queued == 0)
        queued = ++asked;
    QTimer::singleShot(10, &page, [&page, trigger, warned, queued] {
        auto* dialog = page.findChild<RecordingSaveDialog*>();
        if (!dialog || !dialog->isVisible() || answered + 1 != queued) { // not its turn yet
            answerSaveDialog(page, trigger, warned, queued);
            return;
        }
        ++answered;
        if (!trigger) {
            dialog->reject();
            return;
        }
        dialog->setTrigger(*trigger);
        *warned = control<QLabel>(*dialog, "triggerButtonWarning")->isVisibleTo(dialog);
        dialog->accept();
    });
}

QString recordingPath(int n)
{
    return profileDirectory("default") + QStringLiteral("/Запись %1.lua").arg(n);
}

} // namespace

// The recorder on the scenario tab: the countdown, the page held still while it records, the
// stop by the deactivation hotkey or "Стоп", and the recording saved as a new row.
class RecordingPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void recordsUntilTheDeactivationHotkeyAndAddsTheScript()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"a.lua", "Alt+1"}}}});
        ScriptsListWidget page;
        QSignalSpy lock(&page, &ScriptsListWidget::sigScenarioActivationChanged);
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(page.scriptsModel()->activeRow(), 0);

        click(page, "recordButton");
        QCOMPARE(page.scriptsModel()->activeRow(), -1);
        QCOMPARE(lock.last().first().toBool(), true);
        QCOMPARE(fixture.overlay.recording, "● Запись через 3");
        QCOMPARE(control<QLabel>(page, "recordingStateLabel")->text(), "● Запись через 3");
        fixture.desktop.setKeyDown('Q', 0x10, true); // before the countdown ends: not recorded
        QTRY_COMPARE_WITH_TIMEOUT(fixture.overlay.recording, "● Запись", 5000);
        // A scenario's hotkey activates nothing now, and its keys are not recorded.
        fixture.desktop.setKeyDown(VK_LMENU, 0x38, true);
        fixture.desktop.setKeyDown('1', 0x02, true);
        fixture.press(MOD_ALT, '1');
        fixture.desktop.setKeyDown('1', 0x02, false);
        fixture.desktop.setKeyDown(VK_LMENU, 0x38, false);
        QCOMPARE(page.scriptsModel()->activeRow(), -1);

        fixture.desktop.setKeyDown('A', 0x1E, true);
        fixture.desktop.setKeyDown('A', 0x1E, false);
        fixture.desktop.moveMouse(5, -3);
        fixture.desktop.setKeyDown(VK_XBUTTON2, true);
        fixture.desktop.setKeyDown(VK_XBUTTON2, false);
        fixture.desktop.setKeyDown(VK_LMENU, 0x38, true);
        fixture.desktop.setKeyDown('X', 0x2D, true);
        bool warned = false;
        answerSaveDialog(page, PlaybackTrigger{PlaybackTrigger::Kind::WhileButtonHeld, 5}, &warned);
        QVERIFY(fixture.press(MOD_ALT, 'X')); // stops the recording, deactivates nothing

        QVERIFY(warned);
        QCOMPARE(lock.last().first().toBool(), false);
        QCOMPARE(fixture.overlay.recording, "");
        QCOMPARE(fixture.prompter.prompts.size(), 0);
        const QByteArray script = readFile(recordingPath(1));
        for (const char* line : {"local trigger = 5 -- forward", "{\"PressKey\", 30}, -- A",
                                 "{\"ReleaseKey\", 30}, -- A", "{\"MoveMouseRelative\", 5, -3},",
                                 "{\"PressMouseButton\", 5}, -- forward"})
            QVERIFY2(script.contains(line), line);
        for (const char* absent : {"-- Q", "-- X", "Alt", "-- 1"})
            QVERIFY2(!script.contains(absent), absent);
        QCOMPARE(page.row(1)->path(), recordingPath(1));
        QCOMPARE(page.row(1)->hotkey(), "");
        QVERIFY(inStep(page));
        QCOMPARE(storedProfiles()[0].scenarios.size(), 2);
        QCOMPARE(fixture.overlay.entries.last(), (OverlayScenarioEntry{"Запись 1", "", true}));
        QVERIFY(fixture.press(MOD_ALT, '1')); // the hotkeys work again
        QCOMPARE(page.scriptsModel()->activeRow(), 0);
    }

    void stopButtonEndsTheCountdownOrTheRecordingWithTheChosenOptions()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}});
        QVERIFY(writeFile(recordingPath(1), "-- the user's own file"));
        ScriptsListWidget page;
        QSignalSpy lock(&page, &ScriptsListWidget::sigScenarioActivationChanged);

        // Stopped while counting down: nothing to save, nothing asked.
        click(page, "recordButton");
        click(page, "recordStopButton");
        QCOMPARE(lock.last().first().toBool(), false);
        QCOMPARE(fixture.overlay.recording, "");
        QTest::qWait(1200);
        QCOMPARE(fixture.overlay.recording, "");

        control<QAbstractButton>(page, "recordMovementCheckBox")->setChecked(false);
        control<QAbstractButton>(page, "recordFixedDelayCheckBox")->setChecked(true);
        control<QSpinBox>(page, "recordDelaySpinBox")->setValue(20);
        click(page, "recordButton");
        QTRY_COMPARE_WITH_TIMEOUT(fixture.overlay.recording, "● Запись", 5000);
        fixture.desktop.setKeyDown('B', 0x30, true);
        fixture.desktop.moveMouse(40, 2);
        fixture.desktop.setKeyDown('B', 0x30, false);
        // The user clicks "Стоп": its click is not recorded.
        fixture.desktop.setKeyDown(VK_LBUTTON, true);
        fixture.desktop.setKeyDown(VK_LBUTTON, false);
        bool warned = true;
        answerSaveDialog(page, PlaybackTrigger{PlaybackTrigger::Kind::OnButtonPress, 5}, &warned);
        click(page, "recordStopButton");

        QVERIFY(!warned);
        QCOMPARE(readFile(recordingPath(1)), "-- the user's own file");
        const QByteArray script = readFile(recordingPath(2));
        QVERIFY(script.contains("local steps = {\n"
                                "  {\"PressKey\", 48}, -- B\n"
                                "  {\"Sleep\", 20},\n"
                                "  {\"ReleaseKey\", 48}, -- B\n"
                                "}\n"));
        QCOMPARE(page.row(0)->path(), recordingPath(2));
        QVERIFY(inStep(page));
    }

    // A recording stopped by its limit is offered for saving; cancelling the question asks
    // before the recording goes, and a failed write keeps it until it is written or let go.
    void aRecordingIsKeptUntilTheUserLetsItGo()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}});
        ScriptsListWidget page;
        page.findChild<Recorder*>()->setLimits({4, 60'000});
        click(page, "recordButton");
        QTRY_COMPARE_WITH_TIMEOUT(fixture.overlay.recording, "● Запись", 5000);

        // The profile's folder cannot take the file until the user mends it.
        const QString folder = profileDirectory("default");
        QVERIFY(QDir(folder).removeRecursively() && writeFile(folder, "not a folder"));
        fixture.prompter.queueButton(QMessageBox::Ok); // the limit
        fixture.prompter.queueButton(QMessageBox::No); // "Удалить запись?" after Cancel
        fixture.prompter.queueCustomButton(2); // "Удалить запись" after the failure
        fixture.prompter.queueButton(QMessageBox::No); // "Удалить запись?"
        fixture.prompter.queueCustomButton(0);         // "Повторить", the folder mended
        fixture.prompter.whileOpen = [&] {
            fixture.prompter.whileOpen = [&] {
                fixture.prompter.whileOpen = [&] {
                    fixture.prompter.whileOpen = [&] {
                        QVERIFY(QFile::remove(folder) && QDir().mkpath(folder));
                    };
                };
            };
        };
        bool warned = false;
        answerSaveDialog(page, std::nullopt, &warned); // Cancel, then the default
        answerSaveDialog(page, PlaybackTrigger{}, &warned);
        fixture.desktop.setKeyDown('B', 0x30, true);
        fixture.desktop.setKeyDown('B', 0x30, false);
        fixture.desktop.setKeyDown('C', 0x2E, true);
        fixture.desktop.setKeyDown('C', 0x2E, false);
        fixture.desktop.setKeyDown('D', 0x20, true); // past the limit
        QTRY_VERIFY(readFile(recordingPath(1)).contains("{\"ReleaseKey\", 46}, -- C\n}"));

        QStringList texts;
        for (const Prompt& prompt : std::as_const(fixture.prompter.prompts))
            texts << prompt.text.section(u':', 0, 0);
        QCOMPARE(texts, QStringList({"Запись остановлена", "Удалить запись?",
                                     "Не удалось сохранить запись в " +
                                         QDir::toNativeSeparators(recordingPath(1)),
                                     "Удалить запись?",
                                     "Не удалось сохранить запись в " +
                                         QDir::toNativeSeparators(recordingPath(1))}));
        QVERIFY(fixture.prompter.prompts[0].text.contains("4"));
        QCOMPARE(page.row(0)->path(), recordingPath(1));
        QCOMPARE(storedProfiles()[0].scenarios.size(), 1);
    }
};

CLAVITOR_TEST(RecordingPanelTest);
#include "RecordingPanelTest.moc"
