#include "Win32Elevation.h"

namespace platform {

bool Win32Elevation::isProcessElevated(DWORD processId)
{
    if (processId == 0)
        return false;
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    const bool elevated = isElevated(process);
    ::CloseHandle(process);
    return elevated;
}

bool Win32Elevation::isCurrentProcessElevated()
{
    return isElevated(::GetCurrentProcess());
}

bool Win32Elevation::isElevated(HANDLE process)
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token))
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool known =
        ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
    ::CloseHandle(token);
    return known && elevation.TokenIsElevated != 0;
}

} // namespace platform
