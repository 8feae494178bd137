#pragma once
// How the floor tells that a file could not be read or written, in words fit for the user.
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tallowby::os {

// A file that could not be read or written. what() is the system's description of the failure,
// for showing to the user; path() names the file; code() is the errno behind it (0 when none).
class FileError : public std::runtime_error {
  public:
    FileError(std::filesystem::path path, const std::string& description, int code = 0);
    const std::filesystem::path& path() const { return path_; }
    int code() const { return code_; }

  private:
    std::filesystem::path path_;
    int code_;
};

// Throws FileError with the system's description of the errno value.
[[noreturn]] void throwFileError(const std::filesystem::path& path, int error);

enum class FileKind { Regular, Folder, Link, Pipe, CharacterDevice, BlockDevice, Socket, Other };

// Throws FileError saying what kind of file is at the path ("it is a named pipe, not a regular
// file"), for a path where only a regular file (or, as wanted says, a folder) may be. A folder's code
// is EISDIR, so that a reader to which a folder means "no file" can tell it apart.
[[noreturn]] void refuseFileKind(const std::filesystem::path& path, FileKind kind,
                                 FileKind wanted = FileKind::Regular);

} // namespace tallowby::os
