#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "os/files.h"
#include "platform/program_files.h"
#include "platform/program_launchers.h"

namespace tallowby::platform {

std::vector<std::filesystem::path> programSearchFolders() {
    return searchPathFolders();
}

bool isProgramFile(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && os::accessError(file, os::Access::Run) == 0;
}

ProgramFileDialog programFileDialog() {
    return {"/usr/bin", "Programs (*)"};
}

} // namespace tallowby::platform
