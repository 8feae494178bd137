#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "os/files.h"
#include "platform/program_files.h"

namespace tallowby::platform {

std::vector<std::filesystem::path> programSearchFolders() {
    std::vector<std::filesystem::path> folders;
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::filesystem::path folder(rest.substr(0, colon));
        if (folder.is_absolute() && std::ranges::find(folders, folder) == folders.end())
            folders.push_back(folder);
        if (colon == std::string_view::npos)
            break;
        rest.remove_prefix(colon + 1);
    }
    return folders;
}

bool isProgramFile(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && os::accessError(file, os::Access::Run) == 0;
}

ProgramFileDialog programFileDialog() {
    return {"/usr/bin", "Programs (*)"};
}

} // namespace tallowby::platform
