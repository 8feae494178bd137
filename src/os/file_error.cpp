#include "os/file_error.h"

#include <array>
#include <cerrno>
#include <system_error>

namespace tallowby::os {

FileError::FileError(std::filesystem::path path, const std::string& description, int code)
    : std::runtime_error(description), path_(std::move(path)), code_(code) {}

void throwFileError(const std::filesystem::path& path, int error) {
    throw FileError(path, std::generic_category().message(error), error);
}

void refuseFileKind(const std::filesystem::path& path, FileKind kind, FileKind wanted) {
    // In the order of FileKind.
    static constexpr std::array<const char*, 8> kNames{
        "a regular file",     "a folder",       "a symbolic link", "a named pipe",
        "a character device", "a block device", "a socket",        "a file of an unknown kind"};
    const auto name = [](FileKind of) { return std::string(kNames.at(static_cast<std::size_t>(of))); };
    throw FileError(path, "it is " + name(kind) + ", not " + name(wanted),
                    kind == FileKind::Folder ? EISDIR : 0);
}

} // namespace tallowby::os
