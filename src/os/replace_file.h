#pragma once
// The floor's own: each system's safe replacement, with or without a look at the file it replaces.
#include <filesystem>
#include <string_view>

#include "os/files.h"

namespace tallowby::os::detail {

// replaceFileContents when expected is null, else replaceFileIfUnchanged.
bool replaceFile(const std::filesystem::path& path, std::string_view bytes, const FileStamp* expected);

} // namespace tallowby::os::detail
