#pragma once
// The walk every system's makePrivateFolders makes before it creates anything.
#include <filesystem>
#include <system_error>
#include <vector>

namespace tallowby::os {

// The folders of the path that are not there yet, highest first, so each is made inside one that
// is: from below the first one there (or the root) down to the path itself.
inline std::vector<std::filesystem::path> missingFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path at = folder.lexically_normal(); !at.empty() && at != at.root_path();
         at = at.parent_path()) {
        if (at.filename().empty())
            continue; // the "" after a trailing separator
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::status(at, error)))
            break;
        missing.insert(missing.begin(), at);
    }
    return missing;
}

} // namespace tallowby::os
