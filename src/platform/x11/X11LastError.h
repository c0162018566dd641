#pragma once

#include "../WinApi.h"

// GetLastError of this backend's calls, kept per thread as on Windows.
namespace platform::X11LastError {

inline thread_local DWORD value = ERROR_SUCCESS;

// Leaves the error for getLastError() and returns FALSE, as a failed call does.
inline BOOL fail(DWORD error)
{
    value = error;
    return 0;
}

} // namespace platform::X11LastError
