function OnEvent(event, arg)
  if event == "PROFILE_ACTIVATED" then EnablePrimaryMouseButtonEvents(true) end
  if event == "MOUSE_BUTTON_PRESSED" and arg == 1 then
    MoveMouseRelative(0, 5) Sleep(10) PressMouseButton(1) ReleaseMouseButton(1)
  end
end
local x, y = GetMousePosition()
MoveMouseTo(960, 540) MoveMouseToVirtual(-10, 99999) MoveMouseWheel(-3)
PressKey("a", "b") ReleaseKey(30) PressAndReleaseKey("ф") PressKey(1, 2, 3)
print(IsModifierPressed("ctrl"), IsKeyLockOn("capslock"), IsMouseButtonPressed(4))
mmr(4, 7) eep(1) Delay(0) Sleepms(-5)
