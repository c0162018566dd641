#include "ProcProcessTable.h"

#include <climits>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace platform {

namespace {

std::string procPath(std::uint32_t processId, const char* entry)
{
    return "/proc/" + std::to_string(processId) + "/" + entry;
}

std::string contentsOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

std::string ProcProcessTable::executablePath(std::uint32_t processId) const
{
    char target[PATH_MAX];
    const ssize_t length =
        ::readlink(procPath(processId, "exe").c_str(), target, sizeof target - 1);
    if (length <= 0)
        return {};
    std::string path(target, static_cast<std::size_t>(length));
    constexpr std::string_view deleted = " (deleted)";
    if (path.size() > deleted.size() && path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    return path;
}

std::vector<std::string> ProcProcessTable::arguments(std::uint32_t processId) const
{
    const std::string line = contentsOf(procPath(processId, "cmdline"));
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < line.size();) {
        const std::size_t end = std::min(line.find('\0', start), line.size());
        arguments.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

std::string ProcProcessTable::shortName(std::uint32_t processId) const
{
    std::string name = contentsOf(procPath(processId, "comm"));
    if (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}

} // namespace platform
