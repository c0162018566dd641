#pragma once

#include "../WinApi.h"

namespace platform {

// Whether processes run with the administrator's rights, which Windows keeps apart from the
// rest of the user's session: a process without them can neither send input to an elevated
// one nor hook its mouse.
class Win32Elevation
{
public:
    // Whether the process of this id runs elevated: its token says so, or it refuses a
    // query of its token, as an elevated or protected process refuses a process without
    // elevation. False for id 0 and for a process that ended.
    static bool isProcessElevated(DWORD processId);
    // Whether the calling process runs elevated.
    static bool isCurrentProcessElevated();

private:
    static bool isElevated(HANDLE process);
};

} // namespace platform
