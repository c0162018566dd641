#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "autoreplace/AutoReplaceTable.h"
#include "engine/StopCombination.h"
#include "ui/appearance/LanguageManager.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTabWidget>

namespace {

QStringList profileNames(const QList<ScenarioProfile>& profiles)
{
    QStringList names;
    for (const ScenarioProfile& profile : profiles)
        names << profile.name;
    return names;
}

QStringList comboNames(const ScriptsListWidget& page)
{
    QStringList names;
    for (int i = 0; i < profileCombo(page)->count(); ++i)
        names << profileCombo(page)->itemText(i);
    return names;
}

} // namespace

// The scenario page's profiles: start-up, switching with its hotkey check, the profile
// commands with their name rules and folders, the deactivation hotkey and the active line.
class ScriptsListWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void startsOnTheStoredProfileOrTheDefaultOne()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"Work", {{"a.lua", "Alt+1"}}}}, "Work");
        {
            ScriptsListWidget page;
            QCOMPARE(currentName(page), "Work");
            QCOMPARE(comboNames(page), QStringList({"default", "Work"}));
            QVERIFY(inStep(page));
            QCOMPARE(fixture.overlay.profileName, "Work");
            QCOMPARE(fixture.overlay.entries, QList<OverlayScenarioEntry>({{"a", "Alt+1", true}}));
            QCOMPARE(fixture.overlay.disableHotkey, "Alt+X");
            QVERIFY(fixture.press(MOD_ALT, '1'));
            QVERIFY(fixture.prompter.prompts.isEmpty());
        }

        // A stored name that is gone: said once, and the default profile is remembered.
        storeProfiles({{"default", {}}}, "work");
        ScriptsListWidget page;
        QCOMPARE(currentName(page), "default");
        QCOMPARE(fixture.prompter.prompts.size(), 1);
        QCOMPARE(fixture.prompter.prompts[0].kind, Prompt::Kind::Critical);
        QCOMPARE(fixture.lastPrompt(),
                 "Профиль сценариев \"work\" не найден. Использован профиль по умолчанию.");
        QCOMPARE(loadSettings().lastProfile, "default");
    }

    void autoReplaceAndArchivesWorkOnTheCurrentProfile()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"Work", {{"a.lua", ""}}}}, "Work");
        QVERIFY(writeFile(profileDirectory("Work") + "/a.lua", "sens = 1.5\n"));
        ScriptsListWidget page;
        auto* table = control<AutoReplaceTable>(page, "autoReplaceTable");

        // A pair typed into the table is the profile's, in the file, at once.
        table->addRow();
        qobject_cast<QLineEdit*>(table->cellWidget(0, 2))->setText("1.5");
        qobject_cast<QLineEdit*>(table->cellWidget(0, 3))->setText("2.0");
        QCOMPARE(readProfiles(profilesFilePath()).at(1).autoReplacements.size(), 1);

        // "Заменить" rewrites the profile's script and shows the pair swapped before its box,
        // with a description typed just before it kept.
        control<QPlainTextEdit>(page, "profileDescription")->setPlainText("notes");
        QString shownDuringTheBox;
        fixture.prompter.whileOpen = [&] {
            shownDuringTheBox = table->rules().value(0).fromValue;
        };
        click(page, "autoReplaceApplyButton");
        QCOMPARE(readFile(profileDirectory("Work") + "/a.lua"), QByteArray("sens = 2.0\n"));
        QCOMPARE(shownDuringTheBox, "2.0");
        QCOMPARE(storedProfiles().at(1).autoReplacements.value(0).fromValue, "2.0");
        QCOMPARE(storedProfiles().at(1).description, "notes");

        // The profile travels through an archive and comes back under a free name.
        const QString archive = QDir(dataDirectory()).filePath("work.zip");
        fixture.prompter.queueValue(archive);
        click(page, "profileExportButton");
        fixture.prompter.queueValue(archive);
        click(page, "profileImportButton");
        QCOMPARE(comboNames(page), QStringList({"default", "Work", "Work копия"}));
        QCOMPARE(profileNames(readProfiles(profilesFilePath())), comboNames(page));
        QCOMPARE(readFile(profileDirectory("Work копия") + "/a.lua"), QByteArray("sens = 2.0\n"));
        QCOMPARE(currentName(page), "Work");
    }

    void switchPublishesTheProfileAndRebuildsItsScenarios()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"d.lua", "Alt+1"}}},
                       {"Work", {{"w.lua", "Alt+1", {2.0, 1.5, 0.5, 3}}, {"", ""}}}});
        ScriptsListWidget page;
        QSignalSpy changed(&page, &ScriptsListWidget::sigProfileChanged);
        const QPointer<const ScriptsModel> before = page.scriptsModel();

        profileCombo(page)->setCurrentIndex(1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toString(), "Work");
        QVERIFY(before.isNull()); // the old model is gone (a new one may take its address)
        QVERIFY(inStep(page));
        QCOMPARE(page.scriptsModel()->scriptAt(0)->rand, 3);
        QCOMPARE(qApp->property(AppProperty::profileXY).toDouble(), 1.0);
        QCOMPARE(loadSettings().lastProfile, "Work");
        QCOMPARE(fixture.overlay.entries,
                 QList<OverlayScenarioEntry>({{"w", "Alt+1", true}, {"Сценарий 2", "", false}}));
        // The combination passed from the scenario left to the one shown.
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(QFileInfo(page.scriptsModel()->activeScriptPath()).fileName(), "w.lua");
    }

    void rowsOfTheProfileLeftShowTheNextOneWhole()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"a.lua", "Alt+1"}, {"b.lua", "Alt+2"}, {"c.lua", ""}}},
                       {"Work", {{"", ""}, {"w.lua", "Alt+3"}}}});
        ScriptsListWidget page;
        page.show();
        const QList<SingleScriptWidget*> made = {page.row(0), page.row(1), page.row(2)};
        // Tab moves through the rows from the top of the list down.
        const auto tabOrder = [&page] {
            QList<SingleScriptWidget*> chain;
            for (QWidget* w = page.nextInFocusChain(); w != &page; w = w->nextInFocusChain()) {
                auto* row = qobject_cast<SingleScriptWidget*>(w);
                if (row && row->isVisible())
                    chain.append(row);
            }
            return chain;
        };

        profileCombo(page)->setCurrentIndex(1);
        QVERIFY(inStep(page));
        QVERIFY(made.contains(page.row(0))); // kept, not made anew
        QVERIFY(!control(*page.row(0), "pushButtonEdit")->isEnabled());
        click(page, "pushButtonAdd");
        QVERIFY(inStep(page));
        QCOMPARE(tabOrder(), QList<SingleScriptWidget*>({page.row(0), page.row(1), page.row(2)}));

        profileCombo(page)->setCurrentIndex(0);
        QVERIFY(inStep(page));
        QCOMPARE(tabOrder(), QList<SingleScriptWidget*>({page.row(0), page.row(1), page.row(2)}));
    }

    void conflictOnSwitchIsAskedAbout()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"d.lua", "Alt+1"}}}, {"Work", {{"w.lua", "Alt+X"}}}});
        ScriptsListWidget page;
        const ScriptsModel* model = page.scriptsModel();

        // Cancel: the previous profile stays, hotkeys and all.
        profileCombo(page)->setCurrentIndex(1);
        QCOMPARE(fixture.lastPrompt(),
                 "Следующие горячие клавиши конфликтуют и не будут назначены добавляемым "
                 "сценариям:\nAlt+X — отключение сценария\nЗадайте их вручную после "
                 "переключения профиля.\nПродолжить?");
        QCOMPARE(currentName(page), "default");
        QCOMPARE(profileCombo(page)->currentIndex(), 0);
        QCOMPARE(page.scriptsModel(), model);
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(page.profiles()[1].scenarios[0].hotkey, "Alt+X");

        // Continue: the conflicting hotkey is cleared in the profile and on disk.
        fixture.prompter.queueCustomButton(0);
        profileCombo(page)->setCurrentIndex(1);
        QCOMPARE(currentName(page), "Work");
        QVERIFY(inStep(page));
        QCOMPARE(page.row(0)->hotkey(), "");
        QCOMPARE(storedProfiles()[1].scenarios[0].hotkey, "");
    }

    void profileNamesAreChecked_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "   "
                               << "Название профиля не может быть пустым.";
        QTest::newRow("default with blanks") << "  Default "
                                             << "Название \"default\" зарезервировано.";
        QTest::newRow("other case") << "WORK"
                                    << "Профиль с таким именем уже существует.";
        QTest::newRow("device name") << "CON"
                                     << "Имя \"CON\" нельзя использовать для папки профиля.";
        QTest::newRow("same folder") << "Wo:rk?"
                                     << "Профиль \"Wo:rk?\" хранился бы в той же папке, что и "
                                        "профиль \"Work\".";
    }
    void profileNamesAreChecked()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"Work", {}}, {"Games", {}}}, "Games");
        ScriptsListWidget page;
        const QByteArray stored = readFile(profilesFilePath());

        fixture.prompter.queueValue(typed);
        click(page, "profileAddButton");
        QCOMPARE(fixture.lastPrompt(), message);
        // Renaming Games meets the same rules.
        fixture.prompter.queueValue(typed);
        click(page, "profileRenameButton");
        QCOMPARE(fixture.lastPrompt(), message);

        QCOMPARE(profileNames(page.profiles()), QStringList({"default", "Work", "Games"}));
        QCOMPARE(readFile(profilesFilePath()), stored);
    }

    void addedProfileBecomesCurrent()
    {
        PageFixture fixture;
        ScriptsListWidget page;
        fixture.prompter.queueValue("  Games ");
        click(page, "profileAddButton");
        QCOMPARE(fixture.prompter.prompts[0].text, "Введите имя профиля");
        QCOMPARE(currentName(page), "Games");
        QCOMPARE(comboNames(page), QStringList({"default", "Games"}));
        QVERIFY(QFileInfo(profileDirectory("Games")).isDir());
        QCOMPARE(profileNames(storedProfiles()), QStringList({"default", "Games"}));
        QCOMPARE(loadSettings().lastProfile, "Games");
        QVERIFY(control(page, "profileDeleteButton")->isEnabled());
    }

    void renameMovesTheFolderEvenForACaseChange()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"work", {{"a.lua", "Alt+1"}, {"", ""}}}}, "work");
        ScriptsListWidget page;
        QVERIFY(fixture.press(MOD_ALT, '1'));
        fixture.prompter.queueValue("Work");
        click(page, "profileRenameButton");

        QCOMPARE(fixture.prompter.prompts.size(), 1);
        QCOMPARE(fixture.prompter.prompts[0].value, "work");
        QCOMPARE(currentName(page), "Work");
        QCOMPARE(profileCombo(page)->currentText(), "Work");
        const QString moved = profileDirectory("Work") + "/a.lua";
        QVERIFY(QFileInfo(moved).isFile());
        const QStringList folders =
            QDir(dataDirectory() + "/profiles").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(QSet<QString>(folders.begin(), folders.end()), QSet<QString>({"Work", "default"}));
        QCOMPARE(page.profiles()[1].scenarios[0].file, moved);
        QVERIFY(inStep(page));
        QCOMPARE(storedProfiles()[1].name, "Work");
        QCOMPARE(loadSettings().lastProfile, "Work");
        QCOMPARE(page.scriptsModel()->activeScriptPath(), moved); // active through the move
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(page.scriptsModel()->activeScriptPath(), moved);

        // The default profile keeps its name.
        profileCombo(page)->setCurrentIndex(0);
        QVERIFY(!control(page, "profileRenameButton")->isEnabled());
        emit control<QAbstractButton>(page, "profileRenameButton")->clicked();
        QCOMPARE(fixture.lastPrompt(), "Нельзя переименовать профиль по умолчанию.");
    }

    void duplicateCopiesFilesUnderTheNextFreeName()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"Work", {{"sub/a.lua", "Alt+1", {2.0, 1.0, 1.0, 1}}}}},
                      "Work");
        QList<ScenarioProfile> stored = storedProfiles();
        stored[1].trusted = true;
        QVERIFY(saveProfiles(stored));
        ScriptsListWidget page;
        control<QPlainTextEdit>(page, "profileDescription")->setPlainText("notes");
        click(page, "profileDuplicateButton");
        QCOMPARE(currentName(page), "Work копия");
        QCOMPARE(page.profiles()[2].description, "notes");
        QVERIFY(!page.profiles()[2].trusted); // until the user marks the copy
        QVERIFY(inStep(page));
        const QString copied = profileDirectory("Work копия") + "/sub/a.lua";
        QCOMPARE(page.profiles()[2].scenarios[0].file, copied);
        QCOMPARE(readFile(copied), readFile(profileDirectory("Work") + "/sub/a.lua"));
        // The copy holds the hotkeys now that the source's scenarios are gone.
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(page.scriptsModel()->activeScriptPath(), copied);

        profileCombo(page)->setCurrentIndex(1);
        click(page, "profileDuplicateButton");
        QCOMPARE(profileNames(storedProfiles()),
                 QStringList({"default", "Work", "Work копия", "Work копия (2)"}));
        QVERIFY(fixture.prompter.prompts.isEmpty());
    }

    void deleteKeepsThePositionAndTheNextProfileAsStored()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"A", {{"a.lua", "Alt+1"}}}, {"B", {}}, {"C", {}}}, "A");
        QList<ScenarioProfile> profiles = readProfiles(profilesFilePath());
        profiles[2].description = "stored B";
        profiles[2].autoReplacements = {{"rule", "", "speed", "1", "2"}};
        writeProfiles(profiles, profilesFilePath());
        ScriptsListWidget page;
        control<QPlainTextEdit>(page, "profileDescription")->setPlainText("unsaved A");

        // No keeps it; Yes removes it and its folder, and B follows on its place as stored.
        fixture.prompter.queueButton(QMessageBox::No);
        click(page, "profileDeleteButton");
        QCOMPARE(fixture.lastPrompt(), "Удалить профиль?");
        QCOMPARE(currentName(page), "A");
        fixture.prompter.queueButton(QMessageBox::Yes);
        click(page, "profileDeleteButton");
        QCOMPARE(comboNames(page), QStringList({"default", "B", "C"}));
        QCOMPARE(profileCombo(page)->currentIndex(), 1);
        QCOMPARE(currentName(page), "B");
        QCOMPARE(control<QPlainTextEdit>(page, "profileDescription")->toPlainText(), "stored B");
        QVERIFY(!QFileInfo::exists(profileDirectory("A")));
        const QList<ScenarioProfile> stored = storedProfiles();
        QCOMPARE(profileNames(stored), QStringList({"default", "B", "C"}));
        QCOMPARE(stored[1].description, "stored B");
        QCOMPARE(stored[1].autoReplacements, profiles[2].autoReplacements);
        QVERIFY(!fixture.press(MOD_ALT, '1'));

        // The last one: the one before it takes its place, down to the default profile.
        profileCombo(page)->setCurrentIndex(2);
        for (const QString next : {"B", "default"}) {
            fixture.prompter.queueButton(QMessageBox::Yes);
            click(page, "profileDeleteButton");
            QCOMPARE(currentName(page), next);
        }
        QCOMPARE(comboNames(page), QStringList({"default"}));
        QVERIFY(!control(page, "profileDeleteButton")->isEnabled());
        emit control<QAbstractButton>(page, "profileDeleteButton")->clicked();
        QCOMPARE(fixture.lastPrompt(), "Нельзя удалить профиль по умолчанию");
        QVERIFY(QFileInfo(profileDirectory("default")).isDir());
    }

    void deleteNeverRemovesAFolderAnotherProfileUses()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"ab", {{"x.lua", ""}}}});
        // An older file may hold two names that share one folder.
        QList<ScenarioProfile> profiles = readProfiles(profilesFilePath());
        profiles.append(named("a/b"));
        writeProfiles(profiles, profilesFilePath());
        ScriptsListWidget page;
        profileCombo(page)->setCurrentIndex(2);
        fixture.prompter.queueButton(QMessageBox::Yes);
        click(page, "profileDeleteButton");
        QCOMPARE(profileNames(storedProfiles()), QStringList({"default", "ab"}));
        QVERIFY(QFileInfo(profileDirectory("ab") + "/x.lua").isFile());
    }

    void descriptionIsSavedWhenTheProfileIsLeft()
    {
        PageFixture fixture;
        storeProfiles({{"default", {}}, {"Work", {}}});
        {
            ScriptsListWidget page;
            auto* description = control<QPlainTextEdit>(page, "profileDescription");
            description->setPlainText("first");
            profileCombo(page)->setCurrentIndex(1);
            QCOMPARE(storedProfiles()[0].description, "first");
            QCOMPARE(description->toPlainText(), "");
            description->setPlainText("second");
        }
        QCOMPARE(storedProfiles()[1].description, "second");
    }

    void activeScenarioAndItsDeactivationHotkey()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"aim.lua", "Alt+1"}}}});
        ScriptsListWidget page;
        QSignalSpy activation(&page, &ScriptsListWidget::sigScenarioActivationChanged);
        auto* disable = control(page, "pushButtonDisable");
        auto* status = control<QLabel>(page, "activeLua");
        QCOMPARE(status->text(), "Сценарий не включен");
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(status->text(), "Активный сценарий: aim");
        QVERIFY(disable->isEnabled());
        QCOMPARE(fixture.overlay.active, "aim");
        QCOMPARE(activation.takeFirst()[0].toBool(), true);

        // A language switch keeps the state and shows it in the new language.
        auto* field = control<QLineEdit>(page, "lineEditDisableHotkey");
        LanguageManager::instance().initialize({":/i18n"}, "clavitor");
        QVERIFY(LanguageManager::instance().setLanguage("en"));
        QCOMPARE(status->text(), "Active script: aim");
        QVERIFY(disable->isEnabled());
        QCOMPARE(field->text(), "Alt+X");
        QVERIFY(LanguageManager::instance().setLanguage("ru"));

        QVERIFY(fixture.press(MOD_ALT, 'X'));
        QCOMPARE(status->text(), "Сценарий не включен");
        QVERIFY(!disable->isEnabled());
        QCOMPARE(fixture.overlay.active, "");
        QCOMPARE(activation.takeFirst()[0].toBool(), false);
        QVERIFY(page.scriptsModel()->activeScriptPath().isEmpty());

        // Another combination: refused while a scenario holds it, taken and stored otherwise.
        QTest::keyClick(field, Qt::Key_1, Qt::AltModifier);
        QCOMPARE(fixture.lastPrompt(), "Горячая клавиша Alt+1 уже используется: сценарий \"aim\".");
        QCOMPARE(field->text(), "Alt+X");
        QCOMPARE(StopCombination::keySequence(), QKeySequence("Alt+X"));
        QTest::keyClick(field, Qt::Key_Z, Qt::AltModifier);
        QCOMPARE(loadSettings().deactivationHotkey, "Alt+Z");
        QCOMPARE(StopCombination::keySequence(), QKeySequence("Alt+Z")); // held, it stops scripts
        QCOMPARE(fixture.overlay.disableHotkey, "Alt+Z");
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QVERIFY(fixture.press(MOD_ALT, 'Z'));
        QCOMPARE(status->text(), "Сценарий не включен");
        QVERIFY(!fixture.press(MOD_ALT, 'X'));
    }

    void listMakesRoomForTheDescription()
    {
        PageFixture fixture;
        ScriptsListWidget page;
        page.resize(700, 600);
        page.show();
        auto* tabs = control<QTabWidget>(page, "tabWidget");
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const int listed = tabs->height();
        tabs->setCurrentWidget(control(page, "description"));
        QTRY_VERIFY(tabs->height() > listed + 200);
        QVERIFY(!scenarioList(page)->isVisible());
        tabs->setCurrentWidget(control(page, "prifile"));
        QTRY_VERIFY(scenarioList(page)->isVisible());
    }
};

CLAVITOR_TEST(ScriptsListWidgetTest);
#include "ScriptsListWidgetTest.moc"
