#include "platform/program_launchers.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace tallowby::platform {

std::vector<std::filesystem::path> searchPathFolders() {
#ifdef _WIN32
    constexpr char kSeparator = ';';
#else
    constexpr char kSeparator = ':';
#endif
    std::vector<std::filesystem::path> folders;
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const auto end = rest.find(kSeparator);
        const std::filesystem::path folder(rest.substr(0, end));
        if (folder.is_absolute() && std::ranges::find(folders, folder) == folders.end())
            folders.push_back(folder);
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return folders;
}

ProgramReach programOnSearchPath(std::string_view name) {
    ProgramReach reach{.names = {std::string(name)}};
    if (name.empty() || name.find_first_of("/\\") != std::string_view::npos)
        return reach;
    for (const std::filesystem::path& folder : searchPathFolders()) {
        std::error_code error;
        if (const std::filesystem::path file = folder / name; std::filesystem::is_regular_file(file, error)) {
            reach.followed = true;
            reach.owner = std::string(name);
            reach.files = {file};
            break;
        }
    }
    return reach;
}

} // namespace tallowby::platform
