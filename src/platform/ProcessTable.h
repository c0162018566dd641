#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// What the system tells of a running process, by its id. Every answer is empty when the
// process is gone or not ours to read.
class ProcessTable
{
public:
    virtual ~ProcessTable() = default;

    // The path of the process's executable file.
    virtual std::string executablePath(std::uint32_t processId) const = 0;
    // The process's arguments, its own name for itself first.
    virtual std::vector<std::string> arguments(std::uint32_t processId) const = 0;
    // The short name the system keeps for the process (Linux: at most 15 bytes, cut).
    virtual std::string shortName(std::uint32_t processId) const = 0;
};

} // namespace platform
