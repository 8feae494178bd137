#include "os/files.h"
#include "os/missing_folders.h"

#include <cerrno>
#include <sys/stat.h>

namespace tallowby::os {

void makePrivateFolders(const std::filesystem::path& folder) {
    for (const std::filesystem::path& missing : missingFolders(folder)) {
        // Another process may make the same folder meanwhile; that one is as good.
        if (::mkdir(missing.c_str(), 0700) != 0 && errno != EEXIST)
            throwFileError(missing, errno);
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        throwFileError(folder, errno);
    if (!S_ISDIR(info.st_mode))
        throwFileError(folder, ENOTDIR);
}

} // namespace tallowby::os
