#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/LuaChunk.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/HotkeyCapture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <lua.hpp>

#include <memory>

namespace {

// OnEvent of a script that records every event it hears, tagged with the script's name, in
// the global list "events", and counts how often its chunk ran.
QByteArray recordingScript(const char* tag)
{
    return QByteArray("events = events or {}\nruns = (runs or 0) + 1\n"
                      "function OnEvent(event, arg)\n"
                      "  table.insert(events, '") +
           tag + ":' .. event .. ':' .. tostring(arg))\nend\n";
}

QStringList takeEvents(ScriptsModel& model)
{
    lua_State* L = model.luaState();
    QStringList events;
    lua_getglobal(L, "events");
    if (lua_istable(L, -1)) {
        for (int i = 1; i <= static_cast<int>(lua_objlen(L, -1)); ++i) {
            lua_rawgeti(L, -1, i);
            events << QString::fromUtf8(lua_tostring(L, -1));
            lua_pop(L, 1);
        }
    }
    lua_pop(L, 1);
    lua_newtable(L);
    lua_setglobal(L, "events");
    return events;
}

double globalNumber(ScriptsModel& model, const char* name)
{
    lua_getglobal(model.luaState(), name);
    const double value = lua_tonumber(model.luaState(), -1);
    lua_pop(model.luaState(), 1);
    return value;
}

// The error text Lua's own file loader gives for a script, for comparison.
QString errorOfTheStandardLoader(const QString& path)
{
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    if (luaL_loadfile(L, QFile::encodeName(path).constData()) == 0)
        lua_pcall(L, 0, 0, 0);
    const QString error = QString::fromUtf8(lua_tostring(L, -1));
    lua_close(L);
    return error;
}

const QString standardLoaderError = QStringLiteral("as the standard loader says");

QVariant appProperty(const char* name)
{
    return qApp->property(name);
}

} // namespace

class ScriptsModelTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;

    QString writeScript(const QString& name, const QByteArray& source)
    {
        const QString path = m_dir->filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // A model whose first row is the scenario at path.
    static std::unique_ptr<ScriptsModel> modelWith(const QString& path)
    {
        auto model = std::make_unique<ScriptsModel>();
        model->scriptAt(0)->path = path;
        return model;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::scenarioActivationResult, QVariant());
    }

    void cleanup()
    {
        m_prompter.reset();
        m_dir.reset();
    }

    void newModelHasOneEmptyRow()
    {
        ScriptsModel model;
        QCOMPARE(model.rowCount(), 1);
        const QModelIndex row = model.index(0);
        QCOMPARE(model.data(row, 257), QVariant(QString()));
        QCOMPARE(model.data(row, 258), QVariant(QString()));
        QCOMPARE(model.data(row, 259), QVariant(QStringLiteral("#F44336")));
        QVERIFY(!model.data(row, Qt::DisplayRole).isValid());
        QCOMPARE(model.rowCount(row), 0);
        QVERIFY(model.flags(row) & Qt::ItemIsEditable);
        QCOMPARE(model.flags(QModelIndex()), Qt::ItemFlags(Qt::ItemIsDropEnabled));
        QCOMPARE(model.roleNames().value(257), QByteArray("scriptpath"));
        QCOMPARE(model.roleNames().value(258), QByteArray("activatecombination"));
        QCOMPARE(model.roleNames().value(259), QByteArray("script_border_color"));
        QCOMPARE(model.scriptAt(1), nullptr);
        QCOMPARE(model.scriptAt(-1), nullptr);
    }

    void activatingAgainAndSwitchingLeaveTheActiveScenarioFirst()
    {
        const QString a = writeScript("Alpha.lua", recordingScript("A"));
        const QString b = writeScript("Beta.lua", recordingScript("B"));
        auto model = modelWith(a);
        model->addScript();
        model->scriptAt(1)->path = b;
        QSignalSpy changed(model.get(), &ScriptsModel::sigActiveLuaChanged);

        model->executeLua(a);
        QCOMPARE(takeEvents(*model), QStringList{"A:PROFILE_ACTIVATED:nil"});
        QCOMPARE(changed.takeFirst().at(0).toString(), QStringLiteral("Alpha"));
        QCOMPARE(model->activeScriptPath(), a);
        QCOMPARE(appProperty(AppProperty::scenarioActivationResult), QVariant(true));

        model->executeLua(a);
        QCOMPARE(takeEvents(*model),
                 (QStringList{"A:PROFILE_DEACTIVATED:nil", "A:PROFILE_ACTIVATED:nil"}));
        QCOMPARE(globalNumber(*model, "runs"), 2.0);

        model->executeLua(b);
        QCOMPARE(takeEvents(*model),
                 (QStringList{"A:PROFILE_DEACTIVATED:nil", "B:PROFILE_ACTIVATED:nil"}));
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.last().at(0).toString(), QStringLiteral("Beta"));
        QVERIFY(m_prompter->prompts.isEmpty());
    }

    void scriptWithoutOnEventKeepsTheEarlierOne()
    {
        const QString a = writeScript("a.lua", recordingScript("A"));
        const QString plain = writeScript("plain.lua", "x = 1\n");
        auto model = modelWith(a);
        model->executeLua(a);
        takeEvents(*model);

        // The earlier scenario's OnEvent is still the global and hears the new one's events.
        model->executeLua(plain);
        QCOMPARE(takeEvents(*model),
                 (QStringList{"A:PROFILE_DEACTIVATED:nil", "A:PROFILE_ACTIVATED:nil"}));

        // In a fresh state there is no OnEvent at all: every event only logs a warning, here
        // for leaving the scenario that is active and for entering the new one.
        ScriptsModel fresh;
        const QRegularExpression warning(QStringLiteral("^Ошибка Lua в OnEvent: "));
        QTest::ignoreMessage(QtWarningMsg, warning);
        QTest::ignoreMessage(QtWarningMsg, warning);
        fresh.executeLua(plain);
        QCOMPARE(fresh.activeScriptPath(), plain);
        EngineState::instance().primaryButtonEventsEnabled = true;
        QTest::ignoreMessage(QtWarningMsg, warning);
        fresh.leftMouseButtonStateChanged(true);
        QVERIFY(EngineState::instance().scenarioActive);
    }

    void errorsRaisedByLookingUpOnEventAreCaught()
    {
        // A script that makes unknown globals an error and has no OnEvent: every event,
        // from the activation on, is an error of that event, not the end of the program.
        const QString strict = writeScript(
            "strict.lua",
            "setmetatable(_G, {__index = function(_, k) error('undeclared ' .. k, 2) end})\n");
        ScriptsModel model;
        const QRegularExpression warning(QStringLiteral("^Ошибка Lua в OnEvent: .*undeclared OnEvent"));
        QTest::ignoreMessage(QtWarningMsg, warning);
        model.executeLua(strict);
        QCOMPARE(model.activeScriptPath(), strict);
        QTest::ignoreMessage(QtWarningMsg, warning);
        model.midMouseButtonStateChanged(true);
        QTest::ignoreMessage(QtWarningMsg, warning);
        model.deactivateScript();
        QVERIFY(!EngineState::instance().scenarioActive);
    }

    void errorTextsReadFileNamesInTheirOwnEncoding()
    {
        // A chunk named in a Windows code page, with the script's own UTF-8 text after it.
        const QByteArray name = "C:\\\xc8\xe2\xe0\xed\\aim.lua";
        const QString path = QStringLiteral("C:\\Иван\\aim.lua");
        const QByteArray message = name + ":3: " + QStringLiteral("нет патронов").toUtf8();
        QCOMPARE(LuaChunk::decodeMessage(message, {{name, path}}),
                 path + QStringLiteral(":3: нет патронов"));
    }

    void missingFileLeavesTheEngineIdle()
    {
        const QString a = writeScript("a.lua", recordingScript("A"));
        const QString missing = m_dir->filePath("gone.lua");
        auto model = modelWith(a);
        model->executeLua(a);
        takeEvents(*model);
        QSignalSpy changed(model.get(), &ScriptsModel::sigActiveLuaChanged);

        model->executeLua(missing);

        QCOMPARE(takeEvents(*model), QStringList{"A:PROFILE_DEACTIVATED:nil"});
        QCOMPARE(m_prompter->prompts.size(), 1);
        const Prompt& box = m_prompter->prompts.first();
        QCOMPARE(box.kind, Prompt::Kind::Warning);
        QCOMPARE(box.parent, nullptr);
        QCOMPARE(box.title, QStringLiteral("Clavitor"));
        QCOMPARE(box.text, QStringLiteral("Не найден lua файл - ") + missing);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(model->errorMessage(), box.text);
        QCOMPARE(model->property("errorMessage").toString(), box.text);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().at(0).toString(), QString());
        QCOMPARE(appProperty(AppProperty::scenarioActivationResult), QVariant(false));
        QVERIFY(!EngineState::instance().scenarioActive);
        QVERIFY(!EngineState::instance().eventsEnabled);
        QCOMPARE(model->activeScriptPath(), a); // a failed activation leaves it

        // Idle: mouse events are no longer delivered.
        model->rigthMouseButtonStateChanged(true);
        QVERIFY(takeEvents(*model).isEmpty());
    }

    void errorsInTheChunkAreShownWithTheirLuaText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("luaError"); // %1 stands for the path
        QTest::newRow("syntax error") << "bad.lua" << QByteArray("x = = 1\n")
                                      << "%1:1: unexpected symbol near '='";
        QTest::newRow("runtime error") << "bad.lua" << QByteArray("partial = 1\nerror('boom')\n")
                                       << "%1:2: boom";
        QTest::newRow("error value that is a number") << "bad.lua" << QByteArray("error(42, 0)\n")
                                                      << "42";
        QTest::newRow("error value that is a table") << "bad.lua" << QByteArray("error({})\n")
                                                     << "(error object is a table value)";
        QTest::newRow("first line for the shell")
            << "bad.lua" << QByteArray("#!/usr/bin/lua\nerror('x')\n") << "%1:2: x";
        QTest::newRow("long non-ASCII path, shortened as Lua shortens it")
            << "Папка сценариев/ошибка в сценарии.lua" << QByteArray("error('x')\n")
            << standardLoaderError;
    }

    void errorsInTheChunkAreShownWithTheirLuaText()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, source);
        QFETCH(QString, luaError);
        const QString path = writeScript(name, source);
        if (luaError == standardLoaderError)
            luaError = errorOfTheStandardLoader(path);
        auto model = modelWith(path);
        QSignalSpy changed(model.get(), &ScriptsModel::sigActiveLuaChanged);

        model->executeLua(path);

        const QString expected =
            QStringLiteral("Ошибка - %1 в lua файле - %2").arg(QString(luaError).replace("%1", path), path);
        QCOMPARE(m_prompter->prompts.size(), 1);
        QCOMPARE(m_prompter->prompts.first().text, expected);
        QCOMPARE(model->errorMessage(), expected);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(appProperty(AppProperty::scenarioActivationResult), QVariant(false));
        QVERIFY(!EngineState::instance().scenarioActive);
        QCOMPARE(model->activeScriptPath(), QString());
        QCOMPARE(lua_gettop(model->luaState()), 0);
    }

    void globalsOfAPartlyRunChunkStay()
    {
        const QString path = writeScript("partial.lua", "partial = 7\nerror('stop')\n");
        auto model = modelWith(path);
        model->executeLua(path);
        QCOMPARE(globalNumber(*model, "partial"), 7.0);
    }

    void nonAsciiPathsLoad()
    {
        const QString path = writeScript("Сценарии/тест ёж.lua", recordingScript("Ж"));
        auto model = modelWith(path);
        QSignalSpy changed(model.get(), &ScriptsModel::sigActiveLuaChanged);
        model->executeLua(path);
        QVERIFY(m_prompter->prompts.isEmpty());
        QCOMPARE(takeEvents(*model), QStringList{"Ж:PROFILE_ACTIVATED:nil"});
        QCOMPARE(changed.first().at(0).toString(), QStringLiteral("тест ёж"));

        // A script requires a module of its profile's folder.
        writeScript("Сценарии/общее.lua", "shared = 42\n");
        const QString user = writeScript("Сценарии/с помощником.lua", "require('общее')\n");
        model->setProfileFolder(m_dir->filePath("Сценарии"));
        model->executeLua(user);
        QVERIFY(m_prompter->prompts.isEmpty());
        QCOMPARE(globalNumber(*model, "shared"), 42.0);
    }

    void scenarioModifiersArePublishedAndReset()
    {
        const QString path = writeScript("a.lua", recordingScript("A"));
        auto model = modelWith(path);
        model->addScript();
        ScriptData* second = model->scriptAt(1);
        second->path = path; // the same file twice: the record that asked is the one used
        second->xy = 2.0;
        second->x = 0.5;
        second->y = 1.5;
        second->rand = 2;

        second->scriptSlot();
        QCOMPARE(appProperty(AppProperty::scenarioXY), QVariant(2.0));
        QCOMPARE(appProperty(AppProperty::scenarioX), QVariant(0.5));
        QCOMPARE(appProperty(AppProperty::scenarioY), QVariant(1.5));
        QCOMPARE(appProperty(AppProperty::scenarioRand), QVariant(3.0));

        // An activation of a file no record has keeps the values, and reports no record.
        const QString stranger = writeScript("stranger.lua", "y = 1\n");
        model->executeLua(stranger);
        QCOMPARE(appProperty(AppProperty::scenarioRand), QVariant(3.0));
        QCOMPARE(appProperty(AppProperty::scenarioActivationResult), QVariant(false));
        QCOMPARE(model->activeScriptPath(), stranger);

        for (int level : {1, 3, 7}) {
            second->rand = level;
            second->scriptSlot();
            QCOMPARE(appProperty(AppProperty::scenarioRand),
                     QVariant(level == 1 ? 1.0 : level == 3 ? 5.0 : 0.0));
        }

        QSignalSpy changed(model.get(), &ScriptsModel::sigActiveLuaChanged);
        model->deactivateScript();
        QCOMPARE(appProperty(AppProperty::scenarioXY), QVariant(1.0));
        QCOMPARE(appProperty(AppProperty::scenarioX), QVariant(1.0));
        QCOMPARE(appProperty(AppProperty::scenarioY), QVariant(1.0));
        QCOMPARE(appProperty(AppProperty::scenarioRand), QVariant(0.0));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(model->activeScriptPath(), QString());
    }

    void deactivationWhileIdleOnlyResetsModifiersAndResult()
    {
        ScriptsModel model;
        qApp->setProperty(AppProperty::scenarioXY, 4.0);
        qApp->setProperty(AppProperty::scenarioRand, 5.0);
        qApp->setProperty(AppProperty::scenarioActivationResult, true);
        QSignalSpy changed(&model, &ScriptsModel::sigActiveLuaChanged);

        model.executeLua(QString());

        QCOMPARE(appProperty(AppProperty::scenarioXY), QVariant(1.0));
        QCOMPARE(appProperty(AppProperty::scenarioRand), QVariant(0.0));
        QCOMPARE(appProperty(AppProperty::scenarioActivationResult), QVariant(false));
        QVERIFY(changed.isEmpty());
    }

    void deactivationTellsTheScriptBeforeItEnds()
    {
        const QString path = writeScript(
            "a.lua", recordingScript("A") + "function OnEvent(e, a) table.insert(events, e) "
                                            "seenXY = scenarioXY end\n");
        auto model = modelWith(path);
        model->executeLua(path);
        takeEvents(*model);
        model->deactivateScript();
        QCOMPARE(takeEvents(*model), QStringList{"PROFILE_DEACTIVATED"});
        QVERIFY(!EngineState::instance().eventsEnabled);
        QVERIFY(!EngineState::instance().scenarioActive);
    }

    void mouseButtonsReachOnEventOnlyWhileActive()
    {
        const QString path = writeScript("a.lua", recordingScript("A"));
        auto model = modelWith(path);
        model->leftMouseButtonStateChanged(true);
        model->midMouseButtonStateChanged(true);
        model->xButton1StateChanged(true);
        QVERIFY(takeEvents(*model).isEmpty());

        model->executeLua(path);
        takeEvents(*model);
        model->leftMouseButtonStateChanged(true); // dropped: primary events not wanted
        model->rigthMouseButtonStateChanged(true);
        model->rigthMouseButtonStateChanged(false);
        model->midMouseButtonStateChanged(true);
        model->xButton1StateChanged(true);
        model->xButton2StateChanged(false);
        EngineState::instance().primaryButtonEventsEnabled = true;
        model->leftMouseButtonStateChanged(false);
        QCOMPARE(takeEvents(*model),
                 (QStringList{"A:MOUSE_BUTTON_PRESSED:3", "A:MOUSE_BUTTON_RELEASED:3",
                              "A:MOUSE_BUTTON_PRESSED:2", "A:MOUSE_BUTTON_PRESSED:4",
                              "A:MOUSE_BUTTON_RELEASED:5", "A:MOUSE_BUTTON_RELEASED:1"}));

        // The wish for left-button events outlives the scenario.
        model->deactivateScript();
        model->executeLua(path);
        takeEvents(*model);
        model->leftMouseButtonStateChanged(true);
        QCOMPARE(takeEvents(*model), QStringList{"A:MOUSE_BUTTON_PRESSED:1"});
    }

    // While a field captures a combination the script hears no press, nor the release of one
    // it did not hear; a press it heard still gets its release.
    void buttonsAreHeldBackWhileAFieldCaptures()
    {
        const QString path = writeScript("a.lua", recordingScript("A"));
        auto model = modelWith(path);
        model->executeLua(path);
        takeEvents(*model);
        QObject field;
        model->midMouseButtonStateChanged(true);
        HotkeyCapture::instance().begin(&field, [](const QKeySequence&) {});
        model->rigthMouseButtonStateChanged(true);
        model->midMouseButtonStateChanged(false);
        HotkeyCapture::instance().end(&field);
        model->rigthMouseButtonStateChanged(false);
        model->rigthMouseButtonStateChanged(true);
        QCOMPARE(takeEvents(*model),
                 (QStringList{"A:MOUSE_BUTTON_PRESSED:2", "A:MOUSE_BUTTON_RELEASED:2",
                              "A:MOUSE_BUTTON_PRESSED:3"}));
    }

    void removingTheActiveRowKeepsTheScenarioActive()
    {
        const QString path = writeScript("a.lua", recordingScript("A"));
        auto model = modelWith(path);
        model->executeLua(path);
        QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);

        model->removeScript(5);
        QVERIFY(removed.isEmpty());
        model->removeScript(0);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(model->rowCount(), 0);
        QVERIFY(EngineState::instance().scenarioActive);
        QCOMPARE(model->activeScriptPath(), path);
        takeEvents(*model);
        model->midMouseButtonStateChanged(true);
        QCOMPARE(takeEvents(*model), QStringList{"A:MOUSE_BUTTON_PRESSED:2"});
    }

    void setDataStoresPortableText()
    {
        ScriptsModel model;
        const QModelIndex row = model.index(0);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        QVERIFY(model.setData(row, QStringLiteral("ctrl+alt+f1"), 258));
        QCOMPARE(model.data(row, 258), QVariant(QStringLiteral("Ctrl+Alt+F1")));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().at(0).value<QModelIndex>(), row);
        QCOMPARE(changed.first().at(2).value<QList<int>>(), QList<int>{258});

        QVERIFY(model.setData(row, (Qt::ALT | Qt::Key_X).toCombined(), 258));
        QCOMPARE(model.scriptAt(0)->hotkey, QStringLiteral("Alt+X"));
        QVERIFY(model.setData(row, QVariant::fromValue(QKeySequence(Qt::CTRL | Qt::Key_Plus)), 258));
        QCOMPARE(model.scriptAt(0)->hotkey, QStringLiteral("Ctrl++"));

        QVERIFY(model.setData(row, QStringLiteral("/x/y.lua"), 257));
        QCOMPARE(model.scriptAt(0)->path, QStringLiteral("/x/y.lua"));
        QVERIFY(model.setData(row, QStringLiteral("#00FF00"), 259));
        QCOMPARE(model.scriptAt(0)->borderColor, QStringLiteral("#00FF00"));

        QVERIFY(!model.setData(row, QStringLiteral("x"), Qt::DisplayRole));
        QVERIFY(!model.setData(model.index(3), QStringLiteral("x"), 257));
        QCOMPARE(changed.size(), 5);
    }

    void findScriptByPathComparesNormalisedPaths()
    {
        const QString path = writeScript("dir/a.lua", "x = 1\n");
        auto model = modelWith(path);
        model->addScript();
        model->scriptAt(1)->path = m_dir->filePath("dir/missing.lua");

        const QString before = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
        ScriptData* relative = model->findScriptByPath(QStringLiteral("dir/a.lua"));
        ScriptData* missingRelative = model->findScriptByPath(QStringLiteral("dir/missing.lua"));
        QDir::setCurrent(before);

        QCOMPARE(relative, model->scriptAt(0));
        QCOMPARE(missingRelative, model->scriptAt(1));
        QCOMPARE(model->findScriptByPath(m_dir->filePath("dir/../dir/a.lua")), model->scriptAt(0));
        QCOMPARE(model->findScriptByPath(m_dir->filePath("dir/A.lua")), nullptr);
        QCOMPARE(model->findScriptByPath(QString()), nullptr);

        const QString link = m_dir->filePath("link.lua");
        QVERIFY(QFile::link(path, link));
        QCOMPARE(model->findScriptByPath(link), model->scriptAt(0));
    }

    void ownerDescriptionNamesTheScenario()
    {
        QCOMPARE(ScriptData("/p/My script.v2.lua", {}, {}).ownerDescription(),
                 QStringLiteral("сценарий \"My script.v2\""));
        QCOMPARE(ScriptData("/p/.lua", {}, {}).ownerDescription(),
                 QStringLiteral("сценарий \".lua\""));
        QCOMPARE(ScriptData({}, {}, {}).ownerDescription(), QStringLiteral("Сценарий"));
    }
};

CLAVITOR_TEST(ScriptsModelTest);
#include "ScriptsModelTest.moc"
