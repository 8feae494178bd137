#include "os/file_error.h"

#include <cerrno>
#include <system_error>

namespace tallowby::os {

FileError::FileError(std::filesystem::path path, const std::string& description, int code)
    : std::runtime_error(description), path_(std::move(path)), code_(code) {}

void throwFileError(const std::filesystem::path& path, int error) {
    throw FileError(path, std::generic_category().message(error), error);
}

void refuseFileKind(const std::filesystem::path& path, FileKind kind) {
    const char* name = "a file of an unknown kind";
    switch (kind) {
    case FileKind::Pipe:
        name = "a named pipe";
        break;
    case FileKind::CharacterDevice:
        name = "a character device";
        break;
    case FileKind::BlockDevice:
        name = "a block device";
        break;
    case FileKind::Socket:
        name = "a socket";
        break;
    case FileKind::Folder:
        name = "a folder";
        break;
    case FileKind::Link:
        name = "a symbolic link";
        break;
    case FileKind::Regular:
    case FileKind::Other:
        break;
    }
    throw FileError(path, std::string("it is ") + name + ", not a regular file",
                    kind == FileKind::Folder ? EISDIR : 0);
}

} // namespace tallowby::os
