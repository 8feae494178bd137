#include "store/text_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#include "store/posix_io.h"

namespace tallowby::store {

FileError::FileError(std::filesystem::path path, const std::string& description, int code)
    : std::runtime_error(description), path_(std::move(path)), code_(code) {}

std::string describeFailure(std::string_view action, const FileError& error) {
    return "Could not " + std::string(action) + " " + error.path().string() + ": " + error.what() + ".";
}

std::optional<Lines> readLines(const std::filesystem::path& path) {
    // Non-blocking: opening a named pipe would otherwise wait for a writer for ever.
    posix_io::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        // A path through something that is not a folder names no file either.
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        posix_io::throwFileError(path, errno);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        posix_io::throwFileError(path, errno);
    // A folder is not a file: this happens for the whole-day file of a profile with an empty name,
    // whose path is the profiles folder itself.
    if (S_ISDIR(info.st_mode))
        return std::nullopt;
    // A pipe, a device or a socket is no rule file: reading one could wait or never end.
    if (!S_ISREG(info.st_mode))
        posix_io::refuseFileKind(path, info.st_mode);
    return splitLines(posix_io::readAll(fd.get(), path));
}

void writeLines(const std::filesystem::path& path, const Lines& lines) {
    replaceFileContents(path, joinLines(lines));
}

} // namespace tallowby::store
