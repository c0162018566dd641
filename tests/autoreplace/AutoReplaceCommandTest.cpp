#include "ProfileFiles.h"
#include "ScenarioScripts.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "autoreplace/AutoReplaceCommand.h"
#include "autoreplace/AutoReplaceRun.h"
#include "core/AppProperties.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "profiles/ProfileStore.h"

#include <QApplication>
#include <QTemporaryDir>

// Applying a profile's auto-replace table to its scripts on disk: which files, what the user
// is told, the swap of the values, and the active scenario.
class AutoReplaceCommandTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_outside;

    // Work: a scenario in its folder, one outside it, an unreferenced script in a sub-folder,
    // one with an upper-case suffix and a text file that is no script.
    ScenarioProfile workProfile()
    {
        ScenarioProfile work = named("Work");
        work.autoReplacements = {{"Чувствительность", "", "sens", "1.5", "2.0"},
                                 {"Шаг", "", "", "step(1)", "step(2)"}};
        const QString directory = profileDirectory(work.name);
        writeFile(directory + "/aim.lua", "sens = 1.5\r\n-- \xCA\xEE\xEC\r\nstep(1)\r\n");
        writeFile(m_outside.filePath("outside.lua"), "local sens=1.55\n");
        writeFile(directory + "/sub/deep/extra.lua", "sens\t= 1.5 mysens = 1.5\n");
        writeFile(directory + "/LOUD.LUA", "step(1) step(1)");
        writeFile(directory + "/notes.txt", "sens = 1.5");
        work.scenarios = {{directory + "/aim.lua", "", {}},
                          {m_outside.filePath("outside.lua"), "", {}},
                          {"aim.lua", "", {}}}; // the same file again, relative
        return work;
    }

    // Runs the command: the number of boxes shown before it swapped rules, or -1 when it
    // swapped none.
    static qsizetype apply(ScenarioProfile& profile, ScriptsModel* model,
                           const ScriptedPrompter& prompter)
    {
        qsizetype boxesBeforeSwap = -1;
        AutoReplaceCommand::apply(profile, model, nullptr,
                                  [&] { boxesBeforeSwap = prompter.prompts.size(); });
        return boxesBeforeSwap;
    }

    QByteArray scripts(const ScenarioProfile& profile)
    {
        QByteArray all;
        for (const QString& file : AutoReplaceRun::scriptFiles(profile))
            all += file.toUtf8() + ":" + readFile(file) + "\n";
        return all + readFile(profileDirectory(profile.name) + "/notes.txt");
    }

private slots:
    void init() { removeDataDirectory(); }

    void everyScriptOnceScenariosFirst()
    {
        const ScenarioProfile work = workProfile();
        const QString directory = profileDirectory(work.name);
        QStringList files = AutoReplaceRun::scriptFiles(work);
        QCOMPARE(files.mid(0, 2),
                 QStringList({directory + "/aim.lua", m_outside.filePath("outside.lua")}));
        files = files.mid(2);
        files.sort();
        QCOMPARE(files, QStringList({directory + "/LOUD.LUA", directory + "/sub/deep/extra.lua"}));
    }

    void rewritesSwapsAndASecondRunUndoesTheFirst()
    {
        ScriptedPrompter prompter;
        ScenarioProfile work = workProfile();
        const QByteArray before = scripts(work);
        const QList<AutoReplaceRule> rules = work.autoReplacements;

        QCOMPARE(apply(work, nullptr, prompter), 0);
        QCOMPARE(readFile(profileDirectory("Work") + "/aim.lua"),
                 "sens = 2.0\r\n-- \xCA\xEE\xEC\r\nstep(2)\r\n");
        QCOMPARE(readFile(m_outside.filePath("outside.lua")), "local sens=2.05\n");
        QCOMPARE(readFile(profileDirectory("Work") + "/sub/deep/extra.lua"),
                 "sens\t= 2.0 mysens = 1.5\n");
        QCOMPARE(readFile(profileDirectory("Work") + "/LOUD.LUA"), "step(2) step(2)");
        QCOMPARE(readFile(profileDirectory("Work") + "/notes.txt"), "sens = 1.5");
        QCOMPARE(work.autoReplacements.at(0).fromValue, "2.0");
        QCOMPARE(work.autoReplacements.at(0).toValue, "1.5");
        QCOMPARE(work.autoReplacements.at(1).fromValue, "step(2)");
        QCOMPARE(prompter.prompts.size(), 1);
        QCOMPARE(prompter.prompts.at(0).kind, Prompt::Kind::Information);
        QCOMPARE(prompter.prompts.at(0).title, "Clavitor");
        QCOMPARE(prompter.prompts.at(0).text,
                 "Автозамена завершена. Выполнено замен: 6 в 4 сценариях.");

        QCOMPARE(apply(work, nullptr, prompter), 1);
        QCOMPARE(scripts(work), before);
        QCOMPARE(work.autoReplacements, rules);
    }

    void tellsWhatHappened_data()
    {
        QTest::addColumn<QList<AutoReplaceRule>>("rules");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("no rules") << QList<AutoReplaceRule>()
                                  << QStringList{"Добавьте хотя бы одну пару для автозамены."};
        QTest::newRow("only blank rules")
            << QList<AutoReplaceRule>{{"x", "y", " ", "", "1"}}
            << QStringList{"Добавьте хотя бы одну пару для автозамены."};
        QTest::newRow("no match, a script that cannot be read")
            << QList<AutoReplaceRule>{{"", "", "speed", "10", "20"}}
            << QStringList{"Не удалось обновить сценарии: broken.lua",
                           "Совпадений для автозамены не найдено."};
        QTest::newRow("a match, a script that cannot be read")
            << QList<AutoReplaceRule>{{"", "", "sens", "1.5", "2.0"}}
            << QStringList{"Не удалось обновить сценарии: broken.lua",
                           "Автозамена завершена. Выполнено замен: 1 в 1 сценариях."};
    }
    void tellsWhatHappened()
    {
        QFETCH(QList<AutoReplaceRule>, rules);
        QFETCH(QStringList, messages);
        ScriptedPrompter prompter;
        ScenarioProfile work = named("Work");
        writeFile(profileDirectory("Work") + "/aim.lua", "sens = 1.5");
        QDir().mkpath(profileDirectory("Work") + "/broken.lua"); // a folder cannot be read
        work.scenarios = {{profileDirectory("Work") + "/broken.lua", "", {}},
                          {profileDirectory("Work") + "/gone.lua", "", {}}}; // missing: skipped
        work.autoReplacements = rules;

        const bool swapped = apply(work, nullptr, prompter) >= 0;
        QStringList shown;
        for (const Prompt& prompt : prompter.prompts)
            shown << prompt.text;
        QCOMPARE(shown, messages);
        QCOMPARE(swapped, messages.last().startsWith("Автозамена завершена"));
        QCOMPARE(work.autoReplacements != rules, swapped);
    }

    // Two rows share the file (a duplicated scenario); the second, with its own modifiers, is
    // the active one, and stays so.
    void activeScenarioIsOffDuringTheRunAndOnAgainAfterIt()
    {
        ScriptedPrompter prompter;
        ScenarioProfile work = named("Work");
        const QString script = profileDirectory("Work") + "/aim.lua";
        writeFile(script, "sens = 1.5\n" + kListeningScript);
        work.scenarios = {{script, "", {}}, {script, "", {}}};
        work.autoReplacements = {{"", "", "sens", "1.5", "2.0"}};
        ScriptsModel model;
        model.addScript();
        for (int row : {0, 1})
            model.setData(model.index(row), script, ScriptsModel::ScriptPathRole);
        model.scriptAt(1)->xy = 3.0;
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
        model.scriptAt(1)->scriptSlot();
        takeHeard(model.luaState());
        qApp->setProperty(AppProperty::scenarioXY, 0.0);

        QCOMPARE(apply(work, &model, prompter), 0);
        QCOMPARE(takeHeard(model.luaState()), "PROFILE_DEACTIVATED:nil;PROFILE_ACTIVATED:nil;");
        QCOMPARE(model.activeRow(), 1);
        QCOMPARE(qApp->property(AppProperty::scenarioXY).toDouble(), 3.0);
        lua_getglobal(model.luaState(), "sens");
        QCOMPARE(lua_tonumber(model.luaState(), -1), 2.0); // the new text ran
        lua_pop(model.luaState(), 1);
    }
};

CLAVITOR_TEST(AutoReplaceCommandTest);
#include "AutoReplaceCommandTest.moc"
