#pragma once
// What the POSIX files of the floor share among themselves; nothing outside src/os/posix includes it.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

#include "os/files.h"

namespace tallowby::os::posix {

FileKind kindOf(mode_t mode);
FileInfo infoOf(const struct stat& info);

// The rest of a read of a file already opened: only a regular file no larger than limit is read.
RegularFile readOpened(UniqueFd fd, const std::filesystem::path& reported, std::size_t limit);

// What stands at the name in the opened folder now; nothing when nothing does. Looked at through a
// descriptor of the name itself (O_PATH, which neither follows a link nor opens a device or a pipe)
// with fstat, the call a read takes its stamp with, so that the two stamps of an unchanged file agree
// even where the calls are answered apart (as libfaketime fakes fstat's times but not fstatat's).
std::optional<struct stat> lookAt(int folder, const std::string& name, const std::filesystem::path& reported);

// Replaces the file named name in the opened folder with the bytes, through a temporary file renamed
// over it; old is what stands there now (nullptr when nothing does), whose owner and mode the new file
// keeps. A rename never follows a link at the name, so whatever stands there is replaced, not written.
// With expected, only while the file at the name is still the one of that stamp (see
// replaceFileIfUnchanged): false, and nothing changed, when it is not, or when nothing stands there.
bool replaceIn(int folder, const std::string& name, const struct stat* old, std::string_view bytes,
               const std::filesystem::path& reported, const FileStamp* expected = nullptr);

} // namespace tallowby::os::posix
