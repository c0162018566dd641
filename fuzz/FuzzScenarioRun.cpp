#include "FuzzScenarioRun.h"

#include "FuzzCheck.h"
#include "FuzzEnvironment.h"
#include "FuzzPlatform.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/StopCombination.h"
#include "hooks/QGlobalMouseHook.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <lua.hpp>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds kRunningTime{20}; // before the user stops the script
constexpr int kMemoryLimitMiB = 32;                     // the engine's bound, as a user sets it

} // namespace

void runScenarioInput(const std::uint8_t* data, std::size_t size, ScriptsModel::Library library,
                      void (*prepare)(lua_State*))
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
    qApp->setProperty(AppProperty::scriptMemoryLimitMiB, kMemoryLimitMiB);

    {
        // The profile's folder is the script's own: require can reach the script itself.
        ScriptsModel model(nullptr, QFileInfo(script).absolutePath(), library);
        if (prepare)
            prepare(model.luaState());
        desktop.holdAltXAfter(kRunningTime);

        // The state is made anew when the script reaches the memory bound: it is looked up
        // after each call.
        model.executeLua(script);
        FUZZ_CHECK(lua_gettop(model.luaState()) == 0);
        for (const bool pressed : {true, false}) {
            model.leftMouseButtonStateChanged(pressed);
            model.rigthMouseButtonStateChanged(pressed);
            model.midMouseButtonStateChanged(pressed);
            model.xButton1StateChanged(pressed);
            model.xButton2StateChanged(pressed);
            FUZZ_CHECK(lua_gettop(model.luaState()) == 0);
        }
        model.deactivateScript();
        FUZZ_CHECK(lua_gettop(model.luaState()) == 0);
    }
    QCoreApplication::processEvents();
}
