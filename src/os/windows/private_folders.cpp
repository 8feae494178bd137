#include <cerrno>
#include <vector>
#include <windows.h>

#include "os/files.h"
#include "os/windows/win32_error.h"

namespace tallowby::os {

void makePrivateFolders(const std::filesystem::path& folder) {
    // A new folder takes the rights of the folder above it; a user's data folder lies under the
    // user's own profile folder, which no other user may enter.
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path at = folder.lexically_normal(); !at.empty() && at != at.root_path();
         at = at.parent_path()) {
        if (at.filename().empty())
            continue; // the "" after a trailing separator
        if (::GetFileAttributesW(at.c_str()) != INVALID_FILE_ATTRIBUTES)
            break;
        missing.push_back(at);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        // Another process may make the same folder meanwhile; that one is as good.
        if (!::CreateDirectoryW(it->c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            windows::throwLastError(*it);
    }
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        windows::throwLastError(folder);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        throwFileError(folder, ENOTDIR);
}

} // namespace tallowby::os
