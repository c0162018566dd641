#pragma once

#include "engine/ScriptsModel.h"

#include <cstddef>
#include <cstdint>

struct lua_State;

// Runs a fuzzer's input as a scenario script, as the engine runs scenarios (activation,
// mouse-button events, deactivation) on the simulated desktop, and checks that the engine is
// unhurt: no crash, no undefined behaviour, the Lua stack left as it was. Waits end at once on
// the desktop's runaway clock; a script still running after a while is stopped the way the
// user stops it (holding the stop combination, which the engine watches); the engine's memory
// bound is set low. `prepare`, when given, runs on the fresh state before the script.
void runScenarioInput(const std::uint8_t* data, std::size_t size, ScriptsModel::Library library,
                      void (*prepare)(lua_State*) = nullptr);
