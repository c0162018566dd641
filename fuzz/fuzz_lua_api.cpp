// A scenario script calling the program's Lua globals with whatever arguments it likes (see
// runScenarioInput), with the engine's safe library, as every scenario of a profile has it: no
// files, programs, native code, debug library or precompiled chunks.

#include "FuzzScenarioRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    runScenarioInput(data, size, ScriptsModel::Library::Safe);
    return 0;
}
