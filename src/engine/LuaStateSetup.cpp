#include "LuaStateSetup.h"

#include "LuaApi.h"
#include "LuaMemoryBound.h"
#include "LuaSandbox.h"
#include "LuaTraceback.h"
#include "RunawayStop.h"
#include "ScenarioFailures.h"

#include <lua.hpp>

#include <stdexcept>

namespace {

struct StateSetup
{
    const QString& profileFolder;
    bool safe;
};

} // namespace

lua_State* LuaStateSetup::open(LuaMemoryBound& memory, const QString& profileFolder, bool safe)
{
    lua_State* state = lua_newstate(&LuaMemoryBound::allocate, &memory);
    if (!state)
        throw std::runtime_error("Не удалось инициализировать Lua");
    lua_atpanic(state, [](lua_State* L) {
        qCCritical(lcEngine).noquote()
            << "Ошибка Lua вне защищённого вызова:" << QString::fromUtf8(lua_tostring(L, -1));
        return 0;
    });
    // The libraries and the API are set up in a protected call: running out of memory there
    // is an error like any other, not the end of the process.
    const auto prepare = [](lua_State* L) {
        const auto* setup = static_cast<const StateSetup*>(lua_touserdata(L, 1));
        lua_pop(L, 1);
        luaL_openlibs(L);
        if (setup->safe)
            LuaSandbox::apply(L, setup->profileFolder);
        LuaApi::registerAll(L);
        RunawayStop::prepareState(L);
        LuaTraceback::prepareState(L);
        return 0;
    };
    StateSetup setup{profileFolder, safe};
    if (lua_cpcall(state, prepare, &setup) != 0) {
        lua_close(state);
        throw std::runtime_error("Не удалось инициализировать Lua");
    }
    return state;
}
