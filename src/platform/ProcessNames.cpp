#include "ProcessNames.h"

#include <cwchar>
#include <string_view>

namespace platform {

namespace {

constexpr std::string_view kWineLoaders[] = {"wine", "wine64", "wine-preloader",
                                             "wine64-preloader"};

std::string lastComponent(const std::string& path)
{
    return path.substr(path.find_last_of("/\\") + 1);
}

// Whether a short name is a loader's own name, perhaps cut ("wine64-preloade").
bool isLoaderShortName(const std::string& shortName)
{
    for (const std::string_view loader : kWineLoaders) {
        if (loader.starts_with(shortName))
            return true;
    }
    return false;
}

} // namespace

std::wstring wideFromLocal(const std::string& text)
{
    std::wstring wide;
    std::mbstate_t state{};
    const char* cursor = text.c_str();
    const std::size_t length = std::mbsrtowcs(nullptr, &cursor, 0, &state);
    if (length == static_cast<std::size_t>(-1)) {
        for (const char c : text)
            wide.push_back(static_cast<unsigned char>(c));
        return wide;
    }
    wide.resize(length);
    cursor = text.c_str();
    state = {};
    std::mbsrtowcs(wide.data(), &cursor, length, &state);
    return wide;
}

bool isWineLoader(const std::string& fileName)
{
    for (const std::string_view loader : kWineLoaders) {
        if (fileName == loader)
            return true;
    }
    return false;
}

ForegroundProgram programOfProcess(std::uint32_t processId, std::vector<std::wstring> windowNames,
                                   const ProcessTable& table)
{
    ForegroundProgram program;
    program.processId = processId;
    std::string executable;
    if (processId != 0) {
        executable = lastComponent(table.executablePath(processId));
        if (isWineLoader(executable)) {
            const std::vector<std::string> arguments = table.arguments(processId);
            executable = arguments.empty() ? std::string() : lastComponent(arguments.front());
            if (isWineLoader(executable))
                executable.clear(); // the loader before it started the program
            if (executable.empty()) {
                const std::string shortName = table.shortName(processId);
                if (!shortName.empty() && !isLoaderShortName(shortName))
                    program.truncatedName = wideFromLocal(shortName);
            }
        }
    }
    program.names.reserve(windowNames.size() + 1);
    program.names.push_back(wideFromLocal(executable));
    for (std::wstring& name : windowNames)
        program.names.push_back(std::move(name));
    return program;
}

} // namespace platform
