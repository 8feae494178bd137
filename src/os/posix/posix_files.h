#pragma once
// What the POSIX files of the floor share among themselves; nothing outside src/os/posix includes it.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>

#include "os/files.h"

namespace tallowby::os::posix {

FileKind kindOf(mode_t mode);
FileInfo infoOf(const struct stat& info);

// The rest of a read of a file already opened: only a regular file no larger than limit is read.
RegularFile readOpened(UniqueFd fd, const std::filesystem::path& reported, std::size_t limit);

// Replaces the file named name in the opened folder with the bytes, through a temporary file renamed
// over it; old is what stands there now (nullptr when nothing does), whose owner and mode the new file
// keeps. A rename never follows a link at the name, so whatever stands there is replaced, not written.
void replaceIn(int folder, const std::string& name, const struct stat* old, std::string_view bytes,
               const std::filesystem::path& reported);

} // namespace tallowby::os::posix
