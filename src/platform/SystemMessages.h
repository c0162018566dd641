#pragma once

#include "WinApi.h"

#include <string>

namespace platform {

// The texts Windows gives (FormatMessageW, with its line break at the end) for the error
// codes of the hotkey and hook calls and of the start with the administrator's rights, for
// the backends that stand in for Windows; empty for any other code.
std::wstring systemMessageText(DWORD code);

} // namespace platform
