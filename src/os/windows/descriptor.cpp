// Descriptors over the C runtime's low-level I/O, which Windows handles are wrapped in (binary mode).
#include "os/descriptor.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <io.h>

#include "os/file_error.h"

namespace tallowby::os {

UniqueFd::~UniqueFd() {
    closeChecked();
}

int UniqueFd::closeChecked() {
    if (fd_ < 0)
        return 0;
    const int result = ::_close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

std::string readAll(int fd, const std::filesystem::path& path, std::size_t limit) {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        const int n =
            ::_read(fd, buffer, static_cast<unsigned>(std::min(sizeof buffer, limit - bytes.size())));
        if (n == 0)
            return bytes;
        if (n < 0)
            throwFileError(path, errno);
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& path) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), INT_MAX));
        const int n = ::_write(fd, bytes.data(), chunk);
        if (n < 0)
            throwFileError(path, errno);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void syncAndClose(UniqueFd& fd, const std::filesystem::path& path) {
    // _commit is FlushFileBuffers on the descriptor's handle.
    if (::_commit(fd.get()) != 0)
        throwFileError(path, errno);
    if (const int error = fd.closeChecked())
        throwFileError(path, error);
}

} // namespace tallowby::os
