GetMKeyState() SetMKeyState(1) OutputLogMessage("%s", 1) print(GetRunningTime(), GetDate())
ClearLog() PressAndReleaseMouseButton(1) OutputLCDMessage("x") ClearLCD() PlayMacro("m") AbortMacro()
SetBacklightColor(1,2,3) OutputDebugMessage("x") SetMouseDPITable({1}) SetMouseDPITableIndex(1)
SetSteeringWheelProperty() _G["G13 Programming"]() QDebug() TestQ(1, 2)
