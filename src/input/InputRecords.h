#pragma once

#include "platform/WinApi.h"

// Input records as the program builds them for sendInputRecord: time and extra information 0.

inline INPUT mouseInput(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD mouseData = 0)
{
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = dx;
    record.mi.dy = dy;
    record.mi.mouseData = mouseData;
    record.mi.dwFlags = flags;
    return record;
}

inline INPUT keyboardInput(WORD virtualKey, WORD scanCode, DWORD flags)
{
    INPUT record{};
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = virtualKey;
    record.ki.wScan = scanCode;
    record.ki.dwFlags = flags;
    return record;
}
