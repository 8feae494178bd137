#include "store/posix_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>
#include <unistd.h>

#include "store/text_file.h"

namespace tallowby::store::posix_io {

UniqueFd::~UniqueFd() {
    closeChecked();
}

int UniqueFd::closeChecked() {
    if (fd_ < 0)
        return 0;
    // On Linux the descriptor is released even when close() fails, so it is never retried.
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

void throwFileError(const std::filesystem::path& path, int error) {
    throw FileError(path, std::generic_category().message(error), error);
}

void refuseFileKind(const std::filesystem::path& path, unsigned mode) {
    const char* kind = S_ISFIFO(mode)   ? "a named pipe"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                       : S_ISDIR(mode)  ? "a folder"
                       : S_ISLNK(mode)  ? "a symbolic link"
                                        : "a file of an unknown kind";
    throw FileError(path, std::string("it is ") + kind + ", not a regular file");
}

std::string readAll(int fd, const std::filesystem::path& path, std::size_t limit) {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return bytes;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(path, errno);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& path) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace tallowby::store::posix_io
