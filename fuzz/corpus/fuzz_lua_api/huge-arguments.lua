Sleep(2^63) Sleep(-2^63) Sleep(0/0) eep(1e308) MoveMouseRelative(1e300, -1e300)
MoveMouseTo(-2^62, 2^62) MoveMouseWheel(2^40) PressKey(65536 + 30) PressKey("\240\159\152\128")
PressKey(nil) PressKey({}, true) ReleaseKey(function() end, "1") IsKeyLockOn({}) IsModifierPressed(nil)
EnablePrimaryMouseButtonEvents() PressMouseButton("2") ReleaseMouseButton(2.9) IsMBP("3")
