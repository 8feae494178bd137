#include <cerrno>
#include <windows.h>

#include "os/files.h"
#include "os/missing_folders.h"
#include "os/windows/win32_error.h"

namespace tallowby::os {

void makePrivateFolders(const std::filesystem::path& folder) {
    // A new folder takes the rights of the folder above it; a user's data folder lies under the
    // user's own profile folder, which no other user may enter.
    for (const std::filesystem::path& missing : missingFolders(folder)) {
        // Another process may make the same folder meanwhile; that one is as good.
        if (!::CreateDirectoryW(missing.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            windows::throwLastError(missing);
    }
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        windows::throwLastError(folder);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        throwFileError(folder, ENOTDIR);
}

} // namespace tallowby::os
