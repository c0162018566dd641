function OnEvent(e, a) error({}) end
setmetatable(_G, {__index = function(t, k) error("no " .. k) end})
