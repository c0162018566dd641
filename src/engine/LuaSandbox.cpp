#include "LuaSandbox.h"

#include "LuaChunk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <lua.hpp>

#include <cstring>
#include <initializer_list>

namespace {

// Registry key of the profile's folder, where require finds modules.
constexpr const char* kFolderKey = "clavitor.sandbox.folder";

// What stays of the library; every other name of these tables is taken away. Of the base
// library, newproxy goes too (it is not in the manual): its userdata are the only values whose
// __gc a script could set, code that would run without the stop of a runaway script while the
// state is closed, and freeze the program.
constexpr std::initializer_list<const char*> kGlobals = {
    "_G",       "_VERSION", "assert",       "collectgarbage", "coroutine", "error",
    "gcinfo",   "getfenv",  "getmetatable", "ipairs",         "load",      "loadstring",
    "math",     "next",     "os",           "package",        "pairs",     "pcall",
    "print",    "rawequal", "rawget",       "rawset",         "require",   "select",
    "setfenv",  "setmetatable", "string",   "table",          "tonumber",  "tostring",
    "type",     "unpack",   "xpcall",
};
constexpr std::initializer_list<const char*> kOs = {"clock", "date", "difftime", "time"};
constexpr std::initializer_list<const char*> kString = {
    "byte", "char", "find",    "format", "gfind", "gmatch", "gsub",
    "len",  "lower", "match",  "rep",    "reverse", "sub",  "upper",
};
constexpr std::initializer_list<const char*> kPackage = {"loaded", "loaders", "path", "cpath"};
// The libraries that require may still hand out: package.loaded is the registry's table of
// loaded modules, which also holds io and debug.
constexpr std::initializer_list<const char*> kLoaded = {
    "_G", "coroutine", "math", "os", "package", "string", "table",
};

bool listed(std::initializer_list<const char*> names, const char* name)
{
    for (const char* kept : names) {
        if (std::strcmp(kept, name) == 0)
            return true;
    }
    return false;
}

QString refusalTemplate()
{
    return QCoreApplication::translate(
        "LuaSandbox",
        "%1 недоступна сценариям: разрешите доступ к файлам и программам в настройках профиля");
}

// Raises the error whose text is upvalue 1, with the position of the script's call.
int raiseRefusal(lua_State* L)
{
    luaL_where(L, 1);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_concat(L, 2);
    return lua_error(L);
}

void pushRefusal(lua_State* L, const QByteArray& name)
{
    const QByteArray text = LuaSandbox::refusal(name);
    lua_pushlstring(L, text.constData(), static_cast<size_t>(text.size()));
}

void pushFunctionStub(lua_State* L, const QByteArray& name)
{
    pushRefusal(L, name);
    lua_pushcclosure(L, &raiseRefusal, 1);
}

// A table of which every read, write and call raises the refusal; its metatable is locked.
void pushTableStub(lua_State* L, const QByteArray& name)
{
    lua_newtable(L);
    lua_createtable(L, 0, 4);
    for (const char* event : {"__index", "__newindex", "__call"}) {
        pushFunctionStub(L, name);
        lua_setfield(L, -2, event);
    }
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "__metatable");
    lua_setmetatable(L, -2);
}

// Replaces every field of the table at index whose name is not kept by a stub named
// prefix + name (fields that are neither functions nor tables are removed).
void keepOnly(lua_State* L, int index, std::initializer_list<const char*> kept,
              const QByteArray& prefix)
{
    if (index < 0)
        index = lua_gettop(L) + index + 1;
    lua_pushnil(L);
    while (lua_next(L, index) != 0) {
        const int type = lua_type(L, -1);
        lua_pop(L, 1);
        if (lua_type(L, -1) != LUA_TSTRING || listed(kept, lua_tostring(L, -1)))
            continue;
        // Only fields already there are changed: the traversal goes on.
        lua_pushvalue(L, -1);
        const QByteArray name = prefix + lua_tostring(L, -1);
        if (type == LUA_TTABLE)
            pushTableStub(L, name);
        else if (type == LUA_TFUNCTION)
            pushFunctionStub(L, name);
        else
            lua_pushnil(L);
        lua_rawset(L, index);
    }
}

// Calls upvalue 1 with the arguments.
int callOriginal(lua_State* L)
{
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// collectgarbage with the options "collect" (the default) and "count" only: the others stop
// the collector or tune it, which lets a script exhaust the memory. Upvalue 1: the library's.
int safeCollectGarbage(lua_State* L)
{
    const char* option = luaL_optstring(L, 1, "collect");
    if (std::strcmp(option, "collect") == 0 || std::strcmp(option, "count") == 0)
        return callOriginal(L);
    static const char* const kOthers[] = {"stop",     "restart",    "step",
                                          "setpause", "setstepmul", nullptr};
    luaL_checkoption(L, 1, nullptr, kOthers); // an unknown option is the usual error
    luaL_where(L, 1);
    pushRefusal(L, QByteArray("collectgarbage(\"") + option + "\")");
    lua_concat(L, 2);
    return lua_error(L);
}

bool isBinary(const char* text, size_t length)
{
    return length > 0 && text[0] == LUA_SIGNATURE[0];
}

// loadstring refusing precompiled chunks as load failures are told: nil and the message.
// Upvalue 1: the library's loadstring (or load); 2: the message.
int safeLoadString(lua_State* L)
{
    size_t length = 0;
    const char* text = luaL_checklstring(L, 1, &length);
    if (isBinary(text, length)) {
        lua_pushnil(L);
        lua_pushvalue(L, lua_upvalueindex(2));
        return 2;
    }
    return callOriginal(L);
}

// The reader that load is given instead of the script's: the script's pieces, but a first
// piece that starts a precompiled chunk fails the load. Upvalues: 1 the script's reader,
// 2 the message, 3 true until the first piece that is not empty.
int guardedPiece(lua_State* L)
{
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_call(L, 0, 1);
    if (lua_toboolean(L, lua_upvalueindex(3)) && lua_type(L, -1) == LUA_TSTRING) {
        size_t length = 0;
        const char* piece = lua_tolstring(L, -1, &length);
        if (isBinary(piece, length)) {
            lua_pushvalue(L, lua_upvalueindex(2));
            return lua_error(L);
        }
        if (length > 0) {
            lua_pushboolean(L, 0);
            lua_replace(L, lua_upvalueindex(3));
        }
    }
    return 1;
}

// load with its reader guarded (a text, as some Lua builds accept, is checked as loadstring
// checks it). Upvalue 1: the library's load; 2: the message.
int safeLoad(lua_State* L)
{
    if (lua_type(L, 1) == LUA_TSTRING)
        return safeLoadString(L); // the same upvalues: the text checked, then load called
    luaL_checktype(L, 1, LUA_TFUNCTION);
    lua_pushvalue(L, 1);
    lua_pushvalue(L, lua_upvalueindex(2));
    lua_pushboolean(L, 1);
    lua_pushcclosure(L, &guardedPiece, 3);
    lua_replace(L, 1);
    return callOriginal(L);
}

// Where require finds a module of the profile's folder.
struct ModuleFile
{
    enum Kind { Missing, Refused, Found } kind = Missing;
    QString path; // the file (Found), or where it was looked for (Missing)
};

// "a.b" is <folder>/a/b.lua. A name that is no module name (an empty part, a slash, a colon, a
// zero byte: no way up, no absolute path) is refused, and so is a file whose real path, links
// resolved, lies outside the folder.
ModuleFile findModule(const QString& folder, const QByteArray& name)
{
    if (name.contains('\0'))
        return {ModuleFile::Refused, {}};
    const QStringList parts = QString::fromUtf8(name).split(u'.');
    for (const QString& part : parts) {
        if (part.isEmpty() || part.contains(u'/') || part.contains(u'\\') || part.contains(u':'))
            return {ModuleFile::Refused, {}};
    }
    const QString relative = parts.join(u'/') + QStringLiteral(".lua");
    if (folder.isEmpty())
        return {ModuleFile::Missing, relative};
    const QString path = folder + u'/' + relative;
    const QFileInfo file(path);
    if (!file.isFile())
        return {ModuleFile::Missing, path};
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString real = file.canonicalFilePath();
    const QString inside = QDir(root).relativeFilePath(real);
    if (root.isEmpty() || real.isEmpty() || inside == u".." || inside.startsWith(u"../") ||
        QDir::isAbsolutePath(inside))
        return {ModuleFile::Refused, {}};
    return {ModuleFile::Found, real};
}

// The only searcher of require: the module's file in the profile's folder, as a chunk, or
// the text of where it was looked for.
int loadModule(lua_State* L)
{
    size_t length = 0;
    const char* name = luaL_checklstring(L, 1, &length);
    lua_getfield(L, LUA_REGISTRYINDEX, kFolderKey);
    int status = 0;
    {
        const ModuleFile module =
            findModule(QString::fromUtf8(lua_tostring(L, -1)),
                       QByteArray(name, static_cast<qsizetype>(length)));
        switch (module.kind) {
        case ModuleFile::Missing:
            lua_pushfstring(L, "\n\tno file '%s'", module.path.toUtf8().constData());
            return 1;
        case ModuleFile::Refused: {
            const QByteArray text =
                QCoreApplication::translate("LuaSandbox",
                                            "require(\"%1\"): сценарии загружают модули только "
                                            "из папки своего профиля")
                    .arg(QString::fromUtf8(name))
                    .toUtf8();
            luaL_where(L, 2);
            lua_pushlstring(L, text.constData(), static_cast<size_t>(text.size()));
            lua_concat(L, 2);
            status = -1;
            break;
        }
        case ModuleFile::Found:
            status = LuaChunk::loadFile(L, module.path, LuaChunk::Chunks::TextOnly);
            if (status == 0)
                return 1;
            break;
        }
    }
    if (status == -1)
        return lua_error(L);
    return luaL_error(L, "error loading module '%s':\n\t%s", name, lua_tostring(L, -1));
}

} // namespace

QByteArray LuaSandbox::refusal(const QByteArray& name)
{
    return refusalTemplate().arg(QString::fromUtf8(name)).toUtf8();
}

QByteArray LuaSandbox::binaryChunkRefusal()
{
    return QCoreApplication::translate("LuaSandbox",
                                       "Скомпилированные фрагменты Lua недоступны сценариям: "
                                       "разрешите доступ к файлам и программам в настройках "
                                       "профиля")
        .toUtf8();
}

void LuaSandbox::setProfileFolder(lua_State* L, const QString& profileFolder)
{
    const QByteArray folder = profileFolder.toUtf8();
    lua_pushlstring(L, folder.constData(), static_cast<size_t>(folder.size()));
    lua_setfield(L, LUA_REGISTRYINDEX, kFolderKey);
}

void LuaSandbox::apply(lua_State* L, const QString& profileFolder)
{
    setProfileFolder(L, profileFolder);
    const QByteArray binary = binaryChunkRefusal();

    // require: the library's own (its loaded modules, its loop check), with one searcher.
    lua_getglobal(L, "package");
    lua_createtable(L, 1, 0);
    lua_pushcfunction(L, &loadModule);
    lua_rawseti(L, -2, 1);
    lua_setfield(L, -2, "loaders");
    for (const char* path : {"path", "cpath"}) {
        lua_pushliteral(L, "");
        lua_setfield(L, -2, path);
    }
    keepOnly(L, -1, kPackage, "package.");
    lua_getfield(L, -1, "loaded");
    keepOnly(L, -1, kLoaded, "");
    lua_pop(L, 2);

    lua_getglobal(L, "os");
    keepOnly(L, -1, kOs, "os.");
    lua_pop(L, 1);
    lua_getglobal(L, "string");
    keepOnly(L, -1, kString, "string.");
    lua_pop(L, 1);

    lua_getglobal(L, "collectgarbage");
    lua_pushcclosure(L, &safeCollectGarbage, 1);
    lua_setglobal(L, "collectgarbage");
    lua_getglobal(L, "loadstring");
    lua_pushlstring(L, binary.constData(), static_cast<size_t>(binary.size()));
    lua_pushcclosure(L, &safeLoadString, 2);
    lua_setglobal(L, "loadstring");
    lua_getglobal(L, "load");
    lua_pushlstring(L, binary.constData(), static_cast<size_t>(binary.size()));
    lua_pushcclosure(L, &safeLoad, 2);
    lua_setglobal(L, "load");

    lua_pushvalue(L, LUA_GLOBALSINDEX);
    keepOnly(L, -1, kGlobals, "");
    lua_pop(L, 1);
}
