#pragma once

#include "ForegroundProgram.h"
#include "ProcessTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Wide text of bytes in the locale's encoding; bytes that are not in it are taken as Latin-1.
std::wstring wideFromLocal(const std::string& text);

// Whether an executable file name is one of Wine's loaders, which run every Windows program.
bool isWineLoader(const std::string& fileName);

// The program of a window: the executable's file name of its process, then the window
// system's names for the window (`windowNames`). A Windows program run through Wine (Proton
// included) is named by its Windows executable instead of the loader: the last component of
// its first argument, or, where that is not known, the process's short name, which Wine sets
// to the executable's name cut to 15 characters. A loader's name is never one of the names.
ForegroundProgram programOfProcess(std::uint32_t processId, std::vector<std::wstring> windowNames,
                                   const ProcessTable& table);

} // namespace platform
