// A scenario script calling the program's Lua globals with whatever arguments it likes (see
// runScenarioInput), with the whole library a trusted profile's scenarios get: the debug
// library, string.dump, the package tables. What the user trusts such a script with, the
// machine itself, is kept from the fuzzer's random scripts: running commands, ending the
// process, touching files, native code, and precompiled chunks (Lua 5.1 runs a crafted one
// unchecked). Each refusal is a Lua error, as a script would meet any other.

#include "FuzzCheck.h"
#include "FuzzScenarioRun.h"

#include <lua.hpp>

namespace {

const char* const kKeepTheMachine = R"lua(
local function refused(name)
  return function() error(name .. " is kept from the machine while fuzzing", 2) end
end
for _, name in ipairs{"execute", "exit", "getenv", "remove", "rename", "tmpname", "setlocale"} do
  os[name] = refused("os." .. name)
end
for _, name in ipairs{"close", "input", "lines", "open", "output", "popen", "read", "tmpfile",
                      "write"} do
  io[name] = refused("io." .. name)
end
io.stdin, io.stdout, io.stderr = nil, nil, nil
debug.getregistry()["FILE*"].__index = {}
package.loadlib = refused("package.loadlib")
package.loaders[4], package.loaders[3] = nil, nil
local textOnly = loadstring
loadstring = function(text, name)
  if type(text) == "string" and text:byte(1) == 27 then return nil, "precompiled chunk" end
  return textOnly(text, name)
end
load = function(reader, name)
  local pieces = {}
  for piece in reader do
    if type(piece) ~= "string" or piece == "" then break end
    pieces[#pieces + 1] = piece
  end
  return loadstring(table.concat(pieces), name)
end
)lua";

void keepTheMachine(lua_State* L)
{
    FUZZ_CHECK(luaL_dostring(L, kKeepTheMachine) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 0 && data[0] == 0x1b)
        return 0; // a precompiled scenario file
    runScenarioInput(data, size, ScriptsModel::Library::Full, &keepTheMachine);
    return 0;
}
