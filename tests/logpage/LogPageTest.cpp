#include "LogPageTestSupport.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "logpage/LogPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const kKindTokens[] = {"activation", "script",      "error",  "runaway", "hotkey",
                                   "following",  "autoclicker", "import", "program"};

QCheckBox* kindBox(const QWidget& page, const QString& token)
{
    return control<QCheckBox>(page, qPrintable("kindBox_" + token));
}

// The sample's lines as the clipboard and a saved file show them.
const QString kActivated = "12:00:01.000 [Активация] recoil: Сценарий активирован";
const QString kShot1 = "12:00:02.000 [Сценарий] recoil: shot 1";
const QString kError = "12:00:03.000 [Ошибка] recoil: attempt to call a nil value\n"
                       "\tstack traceback:\n\t[C]: in function 'Foo'\n"
                       "\trecoil.lua:12: in function 'OnEvent'";
const QString kShot2 = "12:00:04.000 [Сценарий] Rapid Fire: SHOT 2";
const QString kFollowing = "12:00:05.000 [Слежение] Профиль Work стал текущим";

// Lines numbered from `first`, of no scenario.
void feedNumbered(LogJournal& journal, int first, int count)
{
    for (int i = first; i < first + count; ++i)
        journal.append(logLine(0, LogKind::Program, {}, QString("line %1").arg(i)));
    journal.flush();
}

// The message of the row at the top of the view.
QString topText(const QTreeView* view)
{
    return view->indexAt(QPoint(1, 1)).siblingAtColumn(LogModel::TextColumn).data().toString();
}

} // namespace

class LogPageTest : public QObject
{
    Q_OBJECT

private slots:
    void filtersByKindScenarioAndText_data()
    {
        QTest::addColumn<QStringList>("hiddenKinds");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("laterScriptShown"); // a line of recoil's, "shot 3"
        const QStringList all = {"Сценарий активирован",        "shot 1",
                                 "attempt to call a nil value", "SHOT 2",
                                 "Профиль Work стал текущим",   "Alt+1 занята другой программой"};
        QTest::newRow("nothing filtered") << QStringList() << ""
                                          << "" << all << true;
        QTest::newRow("errors hidden")
            << QStringList{"error"} << ""
            << "" << QStringList{all[0], all[1], all[3], all[4], all[5]} << true;
        QTest::newRow("only the scenarios' own lines")
            << QStringList{"activation", "error",       "runaway", "hotkey",
                           "following",  "autoclicker", "import",  "program"}
            << ""
            << "" << QStringList{"shot 1", "SHOT 2"} << true;
        QTest::newRow("one scenario") << QStringList() << "recoil"
                                      << "" << QStringList{all[0], all[1], all[2]} << true;
        QTest::newRow("scenario and kind") << QStringList{"activation"} << "recoil"
                                           << "" << QStringList{all[1], all[2]} << true;
        QTest::newRow("text in any case") << QStringList() << ""
                                          << "Shot" << QStringList{"shot 1", "SHOT 2"} << true;
        QTest::newRow("text in the traceback") << QStringList() << ""
                                               << "onevent" << QStringList{all[2]} << false;
        QTest::newRow("text in the scenario's name") << QStringList() << ""
                                                     << "RAPID" << QStringList{"SHOT 2"} << false;
        QTest::newRow("text and scenario") << QStringList() << "recoil"
                                           << "shot" << QStringList{"shot 1"} << true;
        QTest::newRow("nothing matches") << QStringList() << ""
                                         << "zzz" << QStringList() << false;
    }
    void filtersByKindScenarioAndText()
    {
        QFETCH(QStringList, hiddenKinds);
        QFETCH(QString, scenario);
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        QFETCH(bool, laterScriptShown);
        LogJournal journal;
        LogPage page(nullptr, journal);
        feedSample(journal);

        for (const QString& token : hiddenKinds)
            kindBox(page, token)->setChecked(false);
        auto* combo = control<QComboBox>(page, "scenarioCombo");
        if (!scenario.isEmpty())
            combo->setCurrentIndex(combo->findText(scenario));
        control<QLineEdit>(page, "textFilter")->setText(text);
        QCOMPARE(shownTexts(page), shown);

        // A line arriving later passes the same filters.
        journal.append(logLine(7, LogKind::Script, "recoil", "shot 3"));
        journal.flush();
        QCOMPARE(shownTexts(page).contains("shot 3"), laterScriptShown);
    }

    void saysHowManyLinesWereDroppedAtTheBound()
    {
        LogJournal journal;
        LogPage page(nullptr, journal);
        feedNumbered(journal, 0, LogJournal::kCapacity);
        QCOMPARE(shownTexts(page).first(), "line 0");

        feedNumbered(journal, LogJournal::kCapacity, 3);
        QStringList texts = shownTexts(page);
        QCOMPARE(texts.size(), LogJournal::kCapacity + 1);
        QCOMPARE(texts[0], "Старые строки удалены: 3");
        QCOMPARE(texts[1], "line 3");
        QCOMPARE(texts.last(), QString("line %1").arg(LogJournal::kCapacity + 2));

        feedNumbered(journal, LogJournal::kCapacity + 3, 2);
        QCOMPARE(shownTexts(page).first(), "Старые строки удалены: 5");
        // Whatever the filters hide, the count stays.
        control<QLineEdit>(page, "textFilter")->setText("zzz");
        QCOMPARE(shownTexts(page), QStringList{"Старые строки удалены: 5"});
    }

    void copiesSelectedOrShownLines_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QList<int>>("selectedRows");
        QTest::addColumn<int>("selectedTracebackRow"); // a row under the error; -1 for none
        QTest::addColumn<QString>("copied");
        QTest::newRow("nothing selected: all shown")
            << "recoil" << QList<int>() << -1 << kActivated + "\n" + kShot1 + "\n" + kError;
        QTest::newRow("selected lines")
            << "" << QList<int>{4, 1} << -1 << kShot1 + "\n" + kFollowing;
        QTest::newRow("a traceback line selected: its whole line")
            << "" << QList<int>{3} << 1 << kError + "\n" + kShot2;
    }
    void copiesSelectedOrShownLines()
    {
        QFETCH(QString, scenario);
        QFETCH(QList<int>, selectedRows);
        QFETCH(int, selectedTracebackRow);
        QFETCH(QString, copied);
        LogJournal journal;
        LogPage page(nullptr, journal);
        feedSample(journal);
        if (!scenario.isEmpty())
            page.showScenario(scenario);
        QTreeView* view = logView(page);
        QItemSelectionModel* selection = view->selectionModel();
        const auto select = [selection](const QModelIndex& index) {
            selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        };
        for (int row : selectedRows)
            select(view->model()->index(row, 0));
        if (selectedTracebackRow >= 0) {
            const QModelIndex error = view->model()->index(2, 0);
            view->expand(error);
            select(view->model()->index(selectedTracebackRow, 0, error));
        }
        QApplication::clipboard()->clear();
        control<QPushButton>(page, "copyButton")->click();
        QCOMPARE(QApplication::clipboard()->text(), copied);
    }

    void clearEmptiesThePageAndKeepsTheFilters()
    {
        LogJournal journal;
        LogPage page(nullptr, journal);
        feedNumbered(journal, 0, LogJournal::kCapacity + 1);
        feedSample(journal);
        page.showScenario("recoil");

        control<QPushButton>(page, "clearButton")->click();
        QCOMPARE(journal.size(), 0);
        QCOMPARE(shownTexts(page), QStringList());
        QCOMPARE(comboItems(page), QStringList({"Все сценарии", "recoil"}));
        QCOMPARE(control<QComboBox>(page, "scenarioCombo")->currentText(), "recoil");

        feedSample(journal);
        QCOMPARE(shownTexts(page),
                 QStringList({"Сценарий активирован", "shot 1", "attempt to call a nil value"}));
    }

    void savesTheShownLines_data()
    {
        QTest::addColumn<QString>("answer");  // the file chosen in the folder; empty: cancelled
        QTest::addColumn<QString>("written"); // the file expected; empty: none
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("warned");
        const QByteArray shown = (kError + "\n" + kShot2 + "\n").toUtf8();
        QTest::newRow("saved") << "log.txt"
                               << "log.txt" << shown << false;
        QTest::newRow("without a suffix") << "log"
                                          << "log.txt" << shown << false;
        QTest::newRow("cancelled") << ""
                                   << "" << QByteArray() << false;
        QTest::newRow("folder missing") << "missing/log.txt"
                                        << "" << QByteArray() << true;
    }
    void savesTheShownLines()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, warned);
        QTemporaryDir folder;
        ScriptedPrompter prompter;
        if (answer.isEmpty())
            prompter.queueCancel();
        else
            prompter.queueValue(folder.filePath(answer));
        LogJournal journal;
        LogPage page(nullptr, journal);
        feedSample(journal);
        // Lines selected do not matter: the file takes every line shown.
        for (const char* token : {"activation", "following", "hotkey"})
            kindBox(page, token)->setChecked(false);
        control<QLineEdit>(page, "textFilter")->setText("A");
        logView(page)->selectionModel()->select(logView(page)->model()->index(0, 0),
                                                QItemSelectionModel::Select);

        control<QPushButton>(page, "saveButton")->click();
        QCOMPARE(prompter.prompts.first().kind, Prompt::Kind::SaveFile);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 written.isEmpty() ? QStringList() : QStringList{written});
        if (!written.isEmpty()) {
            QFile file(folder.filePath(written));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), bytes);
        }
        QCOMPARE(prompter.prompts.size(), warned ? 2 : 1);
        if (warned) {
            const Prompt& warning = prompter.prompts.last();
            QCOMPARE(warning.kind, Prompt::Kind::Warning);
            QCOMPARE(warning.title, "Clavitor");
            QVERIFY2(warning.text.contains(QDir::toNativeSeparators(folder.filePath(answer))),
                     qPrintable(warning.text));
        }
    }

    void followsNewLinesAtTheBottom()
    {
        LogJournal journal;
        LogPage page(nullptr, journal);
        page.resize(700, 400);
        page.show();
        feedNumbered(journal, 0, 200);
        const QScrollBar* bar = logView(page)->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0 && bar->value() == bar->maximum());
        feedNumbered(journal, 200, 50);
        QTRY_VERIFY(bar->value() == bar->maximum());
        const QTreeView* view = logView(page);
        const QModelIndex last = view->model()->index(249, LogModel::TextColumn);
        QCOMPARE(last.data().toString(), "line 249");
        QVERIFY(view->viewport()->rect().contains(view->visualRect(last)));
    }

    void staysOnTheLinesReadAboveTheBottom()
    {
        LogJournal journal;
        LogPage page(nullptr, journal);
        page.resize(700, 400);
        page.show();
        feedNumbered(journal, 0, LogJournal::kCapacity - 100);
        QTreeView* view = logView(page);
        QScrollBar* bar = view->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0 && bar->value() == bar->maximum());

        bar->setValue(bar->maximum() / 2); // the user scrolls up
        QCoreApplication::processEvents();
        const QString read = topText(view);
        // Lines arrive, and past the bound the oldest leave above the lines read.
        feedNumbered(journal, LogJournal::kCapacity - 100, 300);
        QCoreApplication::processEvents();
        QCOMPARE(topText(view), read);
        QVERIFY(bar->value() < bar->maximum());

        bar->setValue(bar->maximum()); // back at the bottom
        feedNumbered(journal, LogJournal::kCapacity + 200, 10);
        QTRY_VERIFY(bar->value() == bar->maximum());
        QCOMPARE(shownTexts(page).last(), QString("line %1").arg(LogJournal::kCapacity + 209));
    }

    void showScenarioShowsAllItsLines_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("in the journal")
            << "recoil" << QStringList{"Все сценарии", "Rapid Fire", "recoil"}
            << QStringList{"Сценарий активирован", "shot 1", "attempt to call a nil value"};
        QTest::newRow("not in the journal")
            << "ghost" << QStringList{"Все сценарии", "ghost", "Rapid Fire", "recoil"}
            << QStringList();
    }
    void showScenarioShowsAllItsLines()
    {
        QFETCH(QString, scenario);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, shown);
        LogJournal journal;
        LogPage page(nullptr, journal);
        feedSample(journal);
        kindBox(page, "error")->setChecked(false);
        kindBox(page, "activation")->setChecked(false);
        auto* combo = control<QComboBox>(page, "scenarioCombo");
        combo->setCurrentIndex(combo->findText("Rapid Fire"));
        control<QLineEdit>(page, "textFilter")->setText("shot");

        page.showScenario(scenario);
        QCOMPARE(comboItems(page), offered);
        QCOMPARE(combo->currentText(), scenario);
        QCOMPARE(control<QLineEdit>(page, "textFilter")->text(), QString());
        for (const char* token : kKindTokens)
            QVERIFY2(kindBox(page, token)->isChecked(), token);
        QCOMPARE(shownTexts(page), shown);
    }
};

CLAVITOR_TEST(LogPageTest);
#include "LogPageTest.moc"
