// A scenario script calling the program's Lua globals with whatever arguments it likes, run
// as the engine runs scenarios (activation, mouse-button events, deactivation) on the
// simulated desktop. The script may do anything Lua allows but leave the engine unhurt: no
// crash, no undefined behaviour, the Lua stack left as it was. Waits end at once on the
// desktop's runaway clock; a script still running after a while is stopped the way the user
// stops it (holding the stop combination, which the engine watches); it gets a bounded amount
// of memory.
//
// The script runs with the engine's safe library, as every scenario of a profile does: no
// files, programs, native code, debug library or precompiled chunks.

#include "FuzzCheck.h"
#include "FuzzEnvironment.h"
#include "FuzzPlatform.h"

#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "engine/StopCombination.h"
#include "hooks/QGlobalMouseHook.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <lua.hpp>

#include <chrono>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::chrono::milliseconds kRunningTime{20}; // before the user stops the script
constexpr std::int64_t kMemoryBudget = 32 << 20;        // bytes the script may add to the state

std::int64_t g_allocated = 0;

void* limitedAllocation(void*, void* block, size_t oldSize, size_t newSize)
{
    if (newSize == 0) {
        std::free(block);
        g_allocated -= static_cast<std::int64_t>(oldSize);
        return nullptr;
    }
    const std::int64_t growth = static_cast<std::int64_t>(newSize) - static_cast<std::int64_t>(oldSize);
    if (growth > 0 && g_allocated + growth > kMemoryBudget)
        return nullptr;
    void* moved = std::realloc(block, newSize);
    if (moved)
        g_allocated += growth;
    return moved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzEnvironment& environment = FuzzEnvironment::instance();
    environment.clearDataDirectory();
    const QString script = environment.writeFile(QStringLiteral("scenario.lua"), data, size);

    static FuzzPlatform desktop;
    platform::Platform::setCurrent(&desktop);
    // Held for the whole run, so that the hook thread is not started again for each model.
    static QGlobalMouseHook* const hook = QGlobalMouseHook::acquire();
    (void)hook;
    // Nothing carried over from the last input.
    desktop.startAfresh();
    EngineState::instance() = EngineState{};
    StopCombination::setKeySequence(QKeySequence(Qt::ALT | Qt::Key_X));

    {
        // The profile's folder is the script's own: require can reach the script itself.
        ScriptsModel model(nullptr, QFileInfo(script).absolutePath());
        lua_State* L = model.luaState();
        g_allocated = 0;
        lua_setallocf(L, &limitedAllocation, nullptr);
        desktop.holdAltXAfter(kRunningTime);

        model.executeLua(script);
        FUZZ_CHECK(lua_gettop(L) == 0);
        for (const bool pressed : {true, false}) {
            model.leftMouseButtonStateChanged(pressed);
            model.rigthMouseButtonStateChanged(pressed);
            model.midMouseButtonStateChanged(pressed);
            model.xButton1StateChanged(pressed);
            model.xButton2StateChanged(pressed);
            FUZZ_CHECK(lua_gettop(L) == 0);
        }
        model.deactivateScript();
        FUZZ_CHECK(lua_gettop(L) == 0);
        // The state is closed with the model: the allocator must still free what it took.
    }
    QCoreApplication::processEvents();
    return 0;
}
