#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "ScenarioScripts.h"
#include "editor/ScriptEditor.h"
#include "engine/ScriptsModel.h"
#include "ui/widgets/GrabLineEdit.h"
#include "ui/widgets/ModifierDialog.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

namespace {

GrabLineEdit* hotkeyField(const SingleScriptWidget* row)
{
    return control<GrabLineEdit>(*row, "lineEditHotKey");
}

// The files the system was asked to open.
class OpenedFiles : public QObject
{
    Q_OBJECT

public:
    OpenedFiles() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler("file"); }
    QStringList paths;

public slots:
    void open(const QUrl& url) { paths << url.toLocalFile(); }
};

// The script editor windows open now.
QList<ScriptEditor*> openEditors()
{
    QList<ScriptEditor*> editors;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<ScriptEditor*>(window); editor && editor->isVisible())
            editors << editor;
    return editors;
}

} // namespace

// The rows of the scenario page: files chosen, imported and exported, hotkeys captured and
// refused, scenarios added, duplicated, configured and deleted, the three lists in step.
class ScenarioRowsTest : public QObject
{
    Q_OBJECT

private slots:
    void rowWithoutFileOffersImportAndDelete()
    {
        PageFixture fixture;
        QTemporaryDir outside;
        QVERIFY(writeFile(outside.filePath("aim.v2.lua"), "-- new"));
        QVERIFY(writeFile(profileDirectory("default") + "/aim.v2.lua", "-- old"));
        ScriptsListWidget page;
        click(page, "pushButtonAdd");

        SingleScriptWidget* row = page.row(0);
        QVERIFY(inStep(page));
        QCOMPARE(storedProfiles()[0].scenarios.size(), 1);
        QCOMPARE(fixture.overlay.entries, QList<OverlayScenarioEntry>({{"Сценарий 1", "", false}}));
        QCOMPARE(control<QAbstractButton>(*row, "pushButtonScript")->text(), "Выбрать сценарий");
        for (const char* name :
             {"pushButtonEdit", "pushButtonConfigure", "pushButtonDuplicate", "pushButtonExport"})
            QVERIFY2(!control(*row, name)->isEnabled(), name);
        QVERIFY(control(*row, "pushButtonImport")->isEnabled());
        // A combination pressed without a file is answered, not taken.
        QTest::keyClick(hotkeyField(row), Qt::Key_3, Qt::AltModifier);
        QVERIFY(hotkeyField(row)->text().isEmpty());
        QCOMPARE(QToolTip::text(), "Сначала выберите файл сценария");
        QVERIFY(storedProfiles()[0].scenarios[0].hotkey.isEmpty());

        // An import keeps a file of the same name in the profile's folder that no row uses.
        fixture.prompter.queueValue(outside.filePath("aim.v2.lua"));
        click(*row, "pushButtonImport");
        const QString imported = profileDirectory("default") + "/aim.v2 (2).lua";
        QCOMPARE(row->path(), imported);
        QCOMPARE(readFile(imported), "-- new");
        QCOMPARE(readFile(profileDirectory("default") + "/aim.v2.lua"), "-- old");
        QCOMPARE(control<QAbstractButton>(*row, "pushButtonScript")->text(), "aim.v2 (2)");
        QVERIFY(hotkeyField(row)->isEnabled());
        QCOMPARE(storedProfiles()[0].scenarios[0].file, imported);
        QVERIFY(inStep(page));

        fixture.prompter.queueButton(QMessageBox::Yes);
        click(*row, "pushButtonDelete");
        QCOMPARE(fixture.lastPrompt(), "Удалить сценарий?");
        QCOMPARE(scenarioList(page)->count(), 0);
        QVERIFY(storedProfiles()[0].scenarios.isEmpty());
        QVERIFY(QFileInfo(imported).isFile());

        // A file that cannot be read is not imported.
        click(page, "pushButtonAdd");
        fixture.prompter.queueValue(outside.filePath("missing.lua"));
        click(*page.row(0), "pushButtonImport");
        QCOMPARE(fixture.lastPrompt(), "Не удалось импортировать сценарий");
        QCOMPARE(page.row(0)->path(), "");
    }

    void chosenFileIsUsedInPlaceOrCopiedIn_data()
    {
        QTest::addColumn<QString>("chosen"); // relative to the data directory
        QTest::addColumn<QString>("used");
        QTest::newRow("in the folder") << "profiles/Work/sub/a.lua"
                                       << "profiles/Work/sub/a.lua";
        QTest::newRow("in a folder that begins alike") << "profiles/Work2/a.lua"
                                                       << "profiles/Work/a.lua";
        QTest::newRow("elsewhere") << "elsewhere/a.lua"
                                   << "profiles/Work/a.lua";
    }
    void chosenFileIsUsedInPlaceOrCopiedIn()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, used);
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"Work", {{"", ""}}}}, "Work");
        QVERIFY(writeFile(dataDirectory() + "/" + chosen, "-- chosen"));
        ScriptsListWidget page;
        SingleScriptWidget* row = page.row(0);

        fixture.prompter.queueValue(dataDirectory() + "/" + chosen);
        click(*row, "pushButtonScript");
        QCOMPARE(fixture.prompter.prompts[0].value, profileDirectory("Work"));
        QCOMPARE(row->path(), dataDirectory() + "/" + used);
        QCOMPARE(readFile(row->path()), "-- chosen");
        QVERIFY(inStep(page));
        QCOMPARE(storedProfiles()[1].scenarios[0].file, row->path());
        QCOMPARE(fixture.overlay.entries, QList<OverlayScenarioEntry>({{"a", "", true}}));

        // The next dialog starts beside the file; a file that cannot be copied changes nothing.
        fixture.prompter.queueValue(dataDirectory() + "/elsewhere/missing.lua");
        click(*row, "pushButtonScript");
        QCOMPARE(fixture.prompter.prompts[1].value, QFileInfo(row->path()).path());
        QCOMPARE(fixture.lastPrompt(), "Не удалось скопировать сценарий");
        QCOMPARE(row->path(), dataDirectory() + "/" + used);
        QVERIFY(inStep(page));
    }

    // Row 1 picks a downloaded file named like row 0's tuned one: row 0's stays, the copy
    // takes a free name; the file of the row itself is replaced as before.
    void aFileOfAnotherScenarioIsNeverReplaced()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"Work", {{"recoil.lua", ""}, {"", ""}}}}, "Work");
        const QString tuned = profileDirectory("Work") + "/recoil.lua";
        const QString downloaded = dataDirectory() + "/Downloads/recoil.lua";
        QVERIFY(writeFile(tuned, "-- tuned"));
        QVERIFY(writeFile(downloaded, "-- downloaded"));
        ScriptsListWidget page;

        const QString copy = profileDirectory("Work") + "/recoil (2).lua";
        fixture.prompter.queueValue(downloaded);
        click(*page.row(1), "pushButtonScript");
        QCOMPARE(page.row(1)->path(), copy);
        fixture.prompter.queueValue(downloaded);
        click(*page.row(1), "pushButtonImport");
        QCOMPARE(page.row(1)->path(), copy);
        QCOMPARE(readFile(tuned), "-- tuned");
        QCOMPARE(readFile(copy), "-- downloaded");
        QVERIFY(inStep(page));

        fixture.prompter.queueValue(downloaded);
        click(*page.row(0), "pushButtonImport");
        QCOMPARE(page.row(0)->path(), tuned);
        QCOMPARE(readFile(tuned), "-- downloaded");
    }

    // A profile switch while a row's file dialog is open (following the program in front, a
    // hotkey) waits for it: the file chosen lands on that row's own scenario.
    void aRowsFileDialogHoldsItsProfile()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"a.lua", ""}}}, {"Work", {{"", ""}}}}, "Work");
        const QString chosen = dataDirectory() + "/chosen.lua";
        QVERIFY(writeFile(chosen, "-- chosen"));
        ScriptsListWidget page;
        fixture.prompter.whileOpen = [&] {
            QVERIFY(!page.followProgram(0));
            profileCombo(page)->setCurrentIndex(0);
        };
        fixture.prompter.queueValue(chosen);
        click(*page.row(0), "pushButtonScript");

        QCOMPARE(currentName(page), "Work");
        QCOMPARE(storedProfiles()[0].scenarios[0].file, profileDirectory("default") + "/a.lua");
        QCOMPARE(storedProfiles()[1].scenarios[0].file, profileDirectory("Work") + "/chosen.lua");
        QVERIFY(inStep(page));
    }

    void hotkeyChangesAndTheirFailures()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"a.lua", "Alt+1"}, {"b.lua", "Alt+2"}}}});
        ScriptsListWidget page;
        GrabLineEdit* field = hotkeyField(page.row(1));
        QSignalSpy changed(page.row(1), &SingleScriptWidget::hotKeyChanged);

        QTest::keyClick(field, Qt::Key_3, Qt::AltModifier);
        QCOMPARE(field->text(), "Alt+3");
        QCOMPARE(storedProfiles()[0].scenarios[1].hotkey, "Alt+3");
        QCOMPARE(fixture.overlay.entries[1].hotkey, "Alt+3");
        QVERIFY(!fixture.press(MOD_ALT, '2'));
        QVERIFY(fixture.press(MOD_ALT, '3'));

        // Refused by the system: the previous one is back, and announced only once.
        fixture.desktop.setHotKeyHeldElsewhere(MOD_ALT, '4', true);
        changed.clear();
        QTest::keyClick(field, Qt::Key_4, Qt::AltModifier);
        QCOMPARE(fixture.lastPrompt(), "Не удалось установить горячую клавишу Alt+4. Сочетание "
                                       "уже используется другой программой.");
        QCOMPARE(changed.size(), 1);
        QCOMPARE(field->text(), "Alt+3");
        QVERIFY(fixture.press(MOD_ALT, '3'));
        QCOMPARE(storedProfiles()[0].scenarios[1].hotkey, "Alt+3");

        // Held by the other scenario: Cancel keeps the previous one, Continue clears it.
        const QString question = "Сочетание \"Alt+1\" конфликтует: сценарий \"a\".\nГорячая "
                                 "клавиша будет сброшена. Задайте её вручную.\nПродолжить?";
        QTest::keyClick(field, Qt::Key_1, Qt::AltModifier);
        QCOMPARE(fixture.lastPrompt(), question);
        QCOMPARE(field->text(), "Alt+3");
        QVERIFY(fixture.press(MOD_ALT, '3'));
        QVERIFY(inStep(page));

        fixture.prompter.queueCustomButton(0);
        QTest::keyClick(field, Qt::Key_1, Qt::AltModifier);
        QCOMPARE(fixture.lastPrompt(), question);
        QCOMPARE(field->text(), "");
        QCOMPARE(storedProfiles()[0].scenarios[1].hotkey, "");
        QVERIFY(!fixture.press(MOD_ALT, '3'));
        QVERIFY(inStep(page));
        QCOMPARE(QFileInfo(page.scriptsModel()->activeScriptPath()).fileName(), "b.lua");
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(QFileInfo(page.scriptsModel()->activeScriptPath()).fileName(), "a.lua");
    }

    void keyCaptureStoresTheKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<unsigned>("virtualKey");
        QTest::addColumn<QString>("text");
        QTest::newRow("Alt+X under a Cyrillic layout")
            << 0x0427 /* Ч */ << int(Qt::AltModifier) << unsigned('X') << "Alt+X";
        QTest::newRow("function key")
            << int(Qt::Key_F5) << int(Qt::ControlModifier | Qt::ShiftModifier) << 116u
            << "Ctrl+Shift+F5";
        QTest::newRow("keypad") << int(Qt::Key_5) << int(Qt::ControlModifier | Qt::KeypadModifier)
                                << 101u << "Ctrl+Num+5";
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << 9u << "Tab";
        QTest::newRow("Alt alone") << int(Qt::Key_Alt) << int(Qt::AltModifier) << 18u << "Alt+F1";
    }
    void keyCaptureStoresTheKey()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(unsigned, virtualKey);
        QFETCH(QString, text);
        PageFixture fixture;
        GrabLineEdit field;
        field.setText("Alt+F1");
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), 0, virtualKey, 0);
        QApplication::sendEvent(&field, &press);
        QVERIFY(press.isAccepted());
        QCOMPARE(field.text(), text);
    }

    void duplicatedScenarioSharesTheFileButNotTheHotkey()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"a.lua", "Alt+1", {2.0, 1.0, 0.5, 1}}, {"b.lua", ""}}}});
        ScriptsListWidget page;

        click(*page.row(0), "pushButtonDuplicate");
        QCOMPARE(fixture.lastPrompt(), "Горячая клавиша Alt+1 уже используется: сценарий \"a\".");
        QCOMPARE(scenarioList(page)->count(), 3);
        QCOMPARE(page.row(2)->path(), page.row(0)->path());
        QCOMPARE(page.row(2)->hotkey(), "");
        QCOMPARE(page.profiles()[0].scenarios[2].modifier, (MovementModifiers{2.0, 1.0, 0.5, 1}));
        QCOMPARE(page.scriptsModel()->scriptAt(2)->xy, 2.0);
        QVERIFY(inStep(page));
        QCOMPARE(storedProfiles()[0].scenarios.size(), 3);
        QCOMPARE(fixture.overlay.entries.size(), 3);
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(page.scriptsModel()->findScriptByPath(page.row(0)->path()),
                 page.scriptsModel()->scriptAt(0));

        // Without a hotkey nothing is said.
        const int prompts = fixture.prompter.prompts.size();
        click(*page.row(1), "pushButtonDuplicate");
        QCOMPARE(fixture.prompter.prompts.size(), prompts);
        QVERIFY(inStep(page));
    }

    void modifierDialogSetsProfileAndScenarioModifiers()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"a.lua", "Alt+1"}}}});
        ScriptsListWidget page;
        const auto answerDialog = [&page](MovementModifiers modifiers) {
            QTimer::singleShot(0, &page, [&page, modifiers] {
                auto* dialog = page.findChild<ModifierDialog*>();
                dialog->setModifiers(modifiers);
                dialog->accept();
            });
        };
        answerDialog({1.5, 0.5, 2.0, 2});
        click(page, "profileConfigureButton");
        QCOMPARE(qApp->property(AppProperty::profileXY).toDouble(), 1.5);
        QCOMPARE(qApp->property(AppProperty::profileY).toDouble(), 2.0);
        QCOMPARE(qApp->property(AppProperty::profileRand).toDouble(), 3.0);

        answerDialog({1.25, 1.0, 0.25, 3});
        click(*page.row(0), "pushButtonConfigure");
        const ScenarioProfile stored = storedProfiles()[0];
        QCOMPARE(stored.modifier, (MovementModifiers{1.5, 0.5, 2.0, 2}));
        QCOMPARE(stored.scenarios[0].modifier, (MovementModifiers{1.25, 1.0, 0.25, 3}));
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(qApp->property(AppProperty::scenarioXY).toDouble(), 1.25);
        QCOMPARE(qApp->property(AppProperty::scenarioY).toDouble(), 0.25);
        QCOMPARE(qApp->property(AppProperty::scenarioRand).toDouble(), 5.0);

        // The profile's factors change under the active scenario, which keeps its own.
        answerDialog({2.0, 1.0, 1.0, 0});
        click(page, "profileConfigureButton");
        QCOMPARE(qApp->property(AppProperty::profileXY).toDouble(), 2.0);
        QCOMPARE(qApp->property(AppProperty::scenarioXY).toDouble(), 1.25);
    }

    void exportReplacesTheTargetTheUserAgreedTo()
    {
        PageFixture fixture;
        QTemporaryDir outside;
        QVERIFY(writeFile(outside.filePath("old.lua"), "-- old"));
        storeProfiles({{"default", {{"a.lua", ""}, {"", ""}}}});
        ScriptsListWidget page;

        fixture.prompter.queueValue(outside.filePath("old.lua"));
        click(*page.row(0), "pushButtonExport");
        QCOMPARE(fixture.prompter.prompts[0].value, "a.lua");
        QCOMPARE(readFile(outside.filePath("old.lua")), readFile(page.row(0)->path()));

        fixture.prompter.queueValue(outside.filePath("no/such/folder/a.lua"));
        click(*page.row(0), "pushButtonExport");
        QCOMPARE(fixture.lastPrompt(), "Не удалось экспортировать сценарий");
        emit page.row(1)->exportRequested(page.row(1)); // its button is off without a file
        QCOMPARE(fixture.lastPrompt(), "Нет сценария для экспорта");
    }

    // The edit button opens the file in the program's editor, one window per file, which
    // hands it to the system's application on request.
    void editOpensTheFileInItsEditor()
    {
        PageFixture fixture;
        OpenedFiles opened;
        storeProfiles({{"default", {{"a.lua", ""}}}});
        ScriptsListWidget page;
        click(*page.row(0), "pushButtonEdit");
        click(*page.row(0), "pushButtonEdit");
        const QList<ScriptEditor*> editors = openEditors();
        QCOMPARE(editors.size(), 1);
        QCOMPARE(editors[0]->path(), page.row(0)->path());
        click(*editors[0], "externalEditorButton");
        QCOMPARE(opened.paths, QStringList({page.row(0)->path()}));
        editors[0]->close();

        QVERIFY(QFile::remove(page.row(0)->path()));
        click(*page.row(0), "pushButtonEdit");
        QCOMPARE(fixture.lastPrompt(), "Файл сценария не найден");
        QVERIFY(openEditors().isEmpty());
    }

    // Saving the active scenario's file activates it again, so the change takes effect;
    // saving another scenario's file touches nothing that runs.
    void savingTheActiveScenarioActivatesItAgain()
    {
        PageFixture fixture;
        QDir().mkpath(profileDirectory("default"));
        const QString active = profileDirectory("default") + "/a.lua";
        const QString other = profileDirectory("default") + "/b.lua";
        QVERIFY(writeFile(active, kListeningScript));
        QVERIFY(writeFile(other, kListeningScript));
        storeProfiles({{"default", {{"a.lua", ""}, {"b.lua", ""}}}});
        ScriptsListWidget page;
        ScriptsModel& model = *page.scriptsModel();
        model.activateRow(0);
        QCOMPARE(takeHeard(model.luaState()), "PROFILE_ACTIVATED:nil;");

        const QByteArray changed = "function OnEvent(event) heard = 'changed ' .. event end\n";
        click(*page.row(1), "pushButtonEdit");
        openEditors().constFirst()->textEdit().setText(QString::fromLatin1(changed));
        QVERIFY(openEditors().constFirst()->save());
        QCOMPARE(takeHeard(model.luaState()), QString());
        QCOMPARE(model.activeScriptPath(), active);
        openEditors().constFirst()->close();

        click(*page.row(0), "pushButtonEdit");
        openEditors().constFirst()->textEdit().setText(QString::fromLatin1(changed));
        QVERIFY(openEditors().constFirst()->save());
        QCOMPARE(takeHeard(model.luaState()), "changed PROFILE_ACTIVATED");
        QCOMPARE(model.activeRow(), 0);
        openEditors().constFirst()->close();
        model.deactivateScript();
    }
};

CLAVITOR_TEST(ScenarioRowsTest);
#include "ScenarioRowsTest.moc"
