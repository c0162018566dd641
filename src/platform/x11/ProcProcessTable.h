#pragma once

#include "../ProcessTable.h"

namespace platform {

// The processes of this machine as Linux's /proc tells of them.
class ProcProcessTable : public ProcessTable
{
public:
    // The target of /proc/<pid>/exe, without the " (deleted)" of a replaced executable.
    std::string executablePath(std::uint32_t processId) const override;
    // /proc/<pid>/cmdline, split at its NUL bytes.
    std::vector<std::string> arguments(std::uint32_t processId) const override;
    // /proc/<pid>/comm without its line end.
    std::string shortName(std::uint32_t processId) const override;
};

} // namespace platform
