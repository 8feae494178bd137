#include "os/descriptor.h"

#include <algorithm>
#include <cerrno>

#include "os/descriptor_calls.h"
#include "os/file_error.h"

namespace tallowby::os {

UniqueFd::~UniqueFd() {
    closeChecked();
}

int UniqueFd::closeChecked() {
    if (fd_ < 0)
        return 0;
    const int result = calls::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

std::string readAll(int fd, const std::filesystem::path& path, std::size_t limit) {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        const long n = calls::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
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
        const long n = calls::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void syncAndClose(UniqueFd& fd, const std::filesystem::path& path) {
    if (calls::sync(fd.get()) != 0)
        throwFileError(path, errno);
    if (const int error = fd.closeChecked())
        throwFileError(path, error);
}

} // namespace tallowby::os
