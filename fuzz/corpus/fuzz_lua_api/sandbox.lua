pcall(io.open, "x", "w")
pcall(os.execute, "true")
pcall(function() return getmetatable("").__index.dump(print) end)
pcall(require, "scenario")
pcall(require, "../scenario")
pcall(collectgarbage, "stop")
local pieces = {"\27Lua\81", "\0"}
pcall(load, function() return table.remove(pieces, 1) end)
pcall(loadstring, "\27Lua\81\0")
function OnEvent(e, a) os.getenv("HOME") end
