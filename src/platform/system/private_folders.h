#pragma once
#include <filesystem>

namespace tallowby::platform {

// Makes the folder and each missing folder above it with mode 0700, as the XDG base directory
// rules ask for a user's folders; folders already there keep their mode. Throws store::FileError
// naming the folder that could not be made.
void makePrivateFolders(const std::filesystem::path& folder);

} // namespace tallowby::platform
