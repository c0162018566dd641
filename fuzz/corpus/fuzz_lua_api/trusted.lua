pcall(debug.sethook)
pcall(debug.setmetatable, 1, {__index = function() return MoveMouseRelative end})
pcall(debug.getregistry)
pcall(function() return debug.getinfo(1, "nSl") end)
pcall(function() return loadstring(string.dump(function() return 1 end)) end)
pcall(function() return package.loaded.io.open("x", "w") end)
pcall(function() return debug.getfenv(io.type) end)
function OnEvent(e, a) pcall(debug.traceback) end
