#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <lua.hpp>

#include <memory>

namespace {

const QByteArray kAllow =
    "недоступна сценариям: разрешите доступ к файлам и программам в настройках профиля";
const QByteArray kOnlyProfile = "сценарии загружают модули только из папки своего профиля";
const QByteArray kBinary = "Скомпилированные фрагменты Lua недоступны сценариям";

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

bool isNilGlobal(lua_State* L, const char* name)
{
    lua_getglobal(L, name);
    const bool nil = lua_isnil(L, -1);
    lua_pop(L, 1);
    return nil;
}

} // namespace

// Scenarios of a profile run with the safe library: hostile scripts reach neither files,
// programs nor native code, however they try, and are told why.
class LuaSandboxTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;

    QString profile() const { return m_dir->filePath(QStringLiteral("profile")); }
    QString outside() const { return m_dir->filePath(QStringLiteral("outside")); }
    QString marker() const { return m_dir->filePath(QStringLiteral("marker")); }

    // The script with PROFILE, OUTSIDE and MARKER put in, as a scenario of the profile.
    QString writeScenario(const QByteArray& source)
    {
        QByteArray text = source;
        text.replace("PROFILE", profile().toUtf8())
            .replace("OUTSIDE", outside().toUtf8())
            .replace("MARKER", marker().toUtf8());
        const QString path = profile() + QStringLiteral("/scenario.lua");
        writeFile(path, text);
        return path;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        EngineState::instance() = EngineState{};
        // A module that would tell it ran, out of the profile's reach.
        writeFile(outside() + QStringLiteral("/secret.lua"), "escaped = true\nreturn {}\n");
        QVERIFY(QDir().mkpath(profile()));
        QVERIFY(QFile::link(outside() + QStringLiteral("/secret.lua"),
                            profile() + QStringLiteral("/link.lua")));
        QVERIFY(QFile::link(outside(), profile() + QStringLiteral("/linked")));
    }

    void cleanup()
    {
        m_prompter.reset();
        m_dir.reset();
    }

    void hostileScriptsReachNothing_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("error");

        // Commands.
        QTest::newRow("os.execute")
            << QByteArray("os.execute('touch MARKER')") << "os.execute " + kAllow;
        QTest::newRow("io.popen") << QByteArray("io.popen('touch MARKER')") << "io " + kAllow;
        QTest::newRow("os.getenv") << QByteArray("os.getenv('HOME')") << "os.getenv " + kAllow;
        // Files written and read.
        QTest::newRow("io.open") << QByteArray("io.open('MARKER', 'w'):write('x')")
                                 << "io " + kAllow;
        QTest::newRow("io.lines") << QByteArray("for l in io.lines('OUTSIDE/secret.lua') do end")
                                  << "io " + kAllow;
        QTest::newRow("dofile") << QByteArray("dofile('OUTSIDE/secret.lua')") << "dofile " + kAllow;
        QTest::newRow("loadfile") << QByteArray("loadfile('OUTSIDE/secret.lua')()")
                                  << "loadfile " + kAllow;
        QTest::newRow("package.path")
            << QByteArray("package.path = 'OUTSIDE/?.lua;' .. package.path\nrequire('secret')")
            << QByteArray("module 'secret' not found");
        // Native code.
        QTest::newRow("package.loadlib")
            << QByteArray("package.loadlib('liblua5.1.so', 'luaopen_io')")
            << "package.loadlib " + kAllow;
        QTest::newRow("C module on package.cpath")
            << QByteArray("package.cpath = 'PROFILE/?.so'\nrequire('native')")
            << QByteArray("module 'native' not found");
        QTest::newRow("module") << QByteArray("module('x', package.seeall)") << "module " + kAllow;
        // Escapes.
        QTest::newRow("getfenv(0)")
            << QByteArray("getfenv(0).debug.getregistry()") << "debug " + kAllow;
        QTest::newRow("getfenv(1)")
            << QByteArray("getfenv(1).io.open('MARKER', 'w')") << "io " + kAllow;
        QTest::newRow("getfenv of the API")
            << QByteArray("getfenv(GetDate).os.execute('touch MARKER')") << "os.execute " + kAllow;
        QTest::newRow("debug.getregistry")
            << QByteArray("debug.getregistry()") << "debug " + kAllow;
        QTest::newRow("package.loaded.io")
            << QByteArray("package.loaded.io.open('MARKER', 'w')") << "io " + kAllow;
        QTest::newRow("require('debug')")
            << QByteArray("require('debug').getregistry()") << "debug " + kAllow;
        QTest::newRow("string metatable dump")
            << QByteArray("getmetatable('').__index.dump(print)") << "string.dump " + kAllow;
        QTest::newRow("method dump") << QByteArray("(''):dump()") << "string.dump " + kAllow;
        QTest::newRow("stub metatable") << QByteArray("assert(getmetatable(io) == false and "
                                                      "rawget(io, 'open') == nil)\n"
                                                      "setmetatable(io, nil)")
                                        << QByteArray("cannot change a protected metatable");
        QTest::newRow("loadstring of bytecode")
            << QByteArray("assert(loadstring('\\27Lua\\81\\0\\1\\4\\8\\4\\8\\0'))") << kBinary;
        QTest::newRow("load of bytecode")
            << QByteArray("local sent\nassert(load(function() if not sent then sent = true "
                          "return '\\27Lua\\81' end end))")
            << kBinary;
        QTest::newRow("newproxy") << QByteArray("getmetatable(newproxy(true)).__gc = "
                                                "function() while true do end end")
                                  << "newproxy " + kAllow;
        QTest::newRow("collectgarbage('stop')")
            << QByteArray("collectgarbage('stop')") << "collectgarbage(\"stop\") " + kAllow;
        QTest::newRow("require('../x')") << QByteArray("require('../outside/secret')")
                                         << "require(\"../outside/secret\"): " + kOnlyProfile;
        QTest::newRow("require('..x')") << QByteArray("require('..outside.secret')")
                                        << "require(\"..outside.secret\"): " + kOnlyProfile;
        QTest::newRow("require of an absolute path")
            << QByteArray("require('OUTSIDE/secret')") << kOnlyProfile;
        QTest::newRow("symbolic link to a file")
            << QByteArray("require('link')") << "require(\"link\"): " + kOnlyProfile;
        QTest::newRow("symbolic link to a folder") << QByteArray("require('linked.secret')")
                                                   << "require(\"linked.secret\"): " + kOnlyProfile;
        // Memory: the state is bounded (16 MiB here) and made anew with what it held given back.
        const QByteArray fill = "t = {} while true do t[#t + 1] = ('x'):rep(1000) .. #t end";
        QTest::newRow("allocation loop") << fill << QByteArray("not enough memory");
        QTest::newRow("doubling string") << QByteArray("s = 'x' while true do s = s .. s end")
                                         << QByteArray("not enough memory");
        QTest::newRow("allocation loop that catches the error")
            << "pcall(function() " + fill + " end) ok = true" << QByteArray("not enough memory");
        QTest::newRow("allocation in OnEvent while a button is held")
            << "function OnEvent(event) if event == 'MOUSE_BUTTON_PRESSED' then " + fill +
                   " end end"
            << QByteArray("not enough memory");
    }

    void hostileScriptsReachNothing()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, error);
        writeFile(profile() + QStringLiteral("/native.so"), QByteArray("\177ELF"));
        qApp->setProperty(AppProperty::scriptMemoryLimitMiB, 16);
        ScriptsModel model(nullptr, profile());
        model.executeLua(writeScenario(script));
        model.midMouseButtonStateChanged(true);
        model.midMouseButtonStateChanged(false);
        qApp->setProperty(AppProperty::scriptMemoryLimitMiB, QVariant());

        QVERIFY2(model.errorMessage().contains(QString::fromUtf8(error)),
                 qPrintable(model.errorMessage()));
        QCOMPARE(m_prompter->prompts.size(), 1); // shown as any other script error
        QVERIFY(!EngineState::instance().scenarioActive);
        QVERIFY(!QFileInfo::exists(marker()));
        QVERIFY(isNilGlobal(model.luaState(), "escaped"));
        QVERIFY(lua_gc(model.luaState(), LUA_GCCOUNT, 0) < 1024); // KiB

        // The program goes on: the next activation runs.
        model.executeLua(writeScenario("function OnEvent() end"));
        QVERIFY(EngineState::instance().scenarioActive);
    }

    void precompiledScenarioIsRefused()
    {
        const QString path = profile() + QStringLiteral("/compiled.lua");
        writeFile(path, QByteArray("\x1bLua\x51\x00\x01\x04\x08\x04\x08\x00", 12));
        ScriptsModel model(nullptr, profile());
        model.executeLua(path);
        QVERIFY2(model.errorMessage().contains(QString::fromUtf8(kBinary)),
                 qPrintable(model.errorMessage()));
    }

    void keptLibraryWorks()
    {
        ScriptsModel model(nullptr, profile());
        model.executeLua(
            writeScenario("assert(os.difftime(os.time(), os.time() - 5) == 5 and os.clock() >= 0)\n"
                          "assert(#os.date('%Y') == 4 and string.format('%d', 7) == '7')\n"
                          "assert(collectgarbage('count') > 0 and collectgarbage() == 0)\n"
                          "assert(loadstring('return 1 + 1')() == 2)\n"
                          "local pieces = {'return ', '3'}\n"
                          "assert(load(function() return table.remove(pieces, 1) end)() == 3)\n"
                          "assert(coroutine.wrap(function() return math.max(1, 2) end)() == 2)\n"
                          "ok = true\n"));
        QVERIFY2(model.errorMessage().isEmpty(), qPrintable(model.errorMessage()));
        QVERIFY(!isNilGlobal(model.luaState(), "ok"));
    }

    void moduleOfTheProfileFolderLoads()
    {
        writeFile(profile() + QStringLiteral("/lib/помощь.lua"),
                  "loads = (loads or 0) + 1\nreturn { answer = 42 }\n");
        ScriptsModel model(nullptr, profile());
        model.executeLua(writeScenario("local a = require('lib.помощь')\n"
                                       "assert(require('lib.помощь') == a and loads == 1)\n"
                                       "answer = a.answer\n"));
        QVERIFY2(model.errorMessage().isEmpty(), qPrintable(model.errorMessage()));
        lua_getglobal(model.luaState(), "answer");
        QCOMPARE(lua_tonumber(model.luaState(), -1), 42.0);
        lua_pop(model.luaState(), 1);
    }

    void renamedProfileFolderIsFollowed()
    {
        writeFile(m_dir->filePath(QStringLiteral("renamed/mod.lua")), "return 5\n");
        ScriptsModel model(nullptr, profile());
        model.setProfileFolder(m_dir->filePath(QStringLiteral("renamed")));
        model.executeLua(writeScenario("assert(require('mod') == 5)"));
        QVERIFY2(model.errorMessage().isEmpty(), qPrintable(model.errorMessage()));
    }

    void fullLibraryIsLeftWhole()
    {
        ScriptsModel model(nullptr, profile(), ScriptsModel::Library::Full);
        model.executeLua(writeScenario("io.open('MARKER', 'w'):close()"));
        QVERIFY2(model.errorMessage().isEmpty(), qPrintable(model.errorMessage()));
        QVERIFY(QFileInfo::exists(marker()));
    }
};

CLAVITOR_TEST(LuaSandboxTest);
#include "LuaSandboxTest.moc"
