#include "os/files.h"

#include <cerrno>
#include <sys/stat.h>
#include <vector>

namespace tallowby::os {

void makePrivateFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path at = folder.lexically_normal(); !at.empty() && at != at.root_path();
         at = at.parent_path()) {
        if (at.filename().empty())
            continue; // the "" after a trailing slash
        struct stat info {};
        if (::stat(at.c_str(), &info) == 0)
            break;
        missing.push_back(at);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        // Another process may make the same folder meanwhile; that one is as good.
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST)
            throwFileError(*it, errno);
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        throwFileError(folder, errno);
    if (!S_ISDIR(info.st_mode))
        throwFileError(folder, ENOTDIR);
}

} // namespace tallowby::os
