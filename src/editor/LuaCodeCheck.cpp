#include "LuaCodeCheck.h"

#include "LuaGlobalsScan.h"
#include "engine/LuaApi.h"
#include "engine/LuaMemoryBound.h"
#include "engine/LuaStateSetup.h"

#include <lua.hpp>

#include <QRegularExpression>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

using StatePtr = std::unique_ptr<lua_State, decltype(&lua_close)>;

// Lua writes a compile error as "<chunk>:<line>: <message>"; the chunk here is "=script".
LuaCodeCheck::SyntaxError syntaxError(const char* text)
{
    static const QRegularExpression form(QStringLiteral(R"(^script:(\d+): (.*)$)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QString message = QString::fromUtf8(text ? text : "");
    const QRegularExpressionMatch match = form.match(message);
    if (!match.hasMatch())
        return {0, message};
    return {match.captured(1).toInt(), match.captured(2)};
}

} // namespace

LuaCodeCheck::Result LuaCodeCheck::check(const QString& text)
{
    Result result;
    StatePtr state(luaL_newstate(), &lua_close);
    if (!state)
        return result;
    const QByteArray bytes = text.toUtf8();
    if (luaL_loadbuffer(state.get(), bytes.constData(), static_cast<size_t>(bytes.size()),
                        "=script") != 0) {
        result.error = syntaxError(lua_tostring(state.get(), -1));
        return result;
    }
    const QList<LuaGlobalsScan::Access> accesses = LuaGlobalsScan::scan(state.get());
    QSet<QString> assigned;
    for (const LuaGlobalsScan::Access& access : accesses)
        if (access.assigned)
            assigned.insert(access.name);
    QSet<QPair<int, QString>> seen;
    for (const LuaGlobalsScan::Access& access : accesses) {
        if (access.assigned || assigned.contains(access.name) ||
            knownGlobals().contains(access.name) || seen.contains({access.line, access.name}))
            continue;
        seen.insert({access.line, access.name});
        result.unknownNames.append({access.line, access.name});
    }
    std::stable_sort(result.unknownNames.begin(), result.unknownNames.end(),
              [](const UnknownName& a, const UnknownName& b) { return a.line < b.line; });
    return result;
}

const QSet<QString>& LuaCodeCheck::knownGlobals()
{
    static const QSet<QString> names = [] {
        QSet<QString> globals;
        LuaMemoryBound memory(64 * LuaMemoryBound::kMiB);
        try {
            StatePtr state(LuaStateSetup::open(memory, QString(), true), &lua_close);
            lua_State* L = state.get();
            lua_pushnil(L);
            while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
                if (lua_type(L, -2) == LUA_TSTRING)
                    globals.insert(QString::fromUtf8(lua_tostring(L, -2)));
                lua_pop(L, 1);
            }
        } catch (const std::runtime_error&) {
            // Without a state to ask, the API's own names at least are not warned about.
            for (const LuaApi::Function& function : LuaApi::functions())
                globals.insert(function.name);
        }
        return globals;
    }();
    return names;
}
