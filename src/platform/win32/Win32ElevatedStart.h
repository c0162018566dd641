#pragma once

#include "../Platform.h"

namespace platform {

// Starts a program with the administrator's rights through the shell's "runas" verb, and
// waits for its end on a thread of its own, so that the caller's thread goes on.
class Win32ElevatedStart
{
public:
    // As Platform::startElevated.
    static DWORD start(const std::wstring& program, const std::wstring& parameters,
                       Platform::ExitReceiver finished);

private:
    static DWORD WINAPI waitForExit(void* context);
};

} // namespace platform
