#include "platform/hosts/hosts_io.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "store/posix_io.h"
#include "store/text_file.h"

namespace tallowby::platform::hosts_io {

namespace posix_io = store::posix_io;

namespace {

// Undoes the octal escapes (\040 for a space and so on) of a path in /proc/self/mountinfo.
std::string unescapeMountPath(std::string_view field) {
    std::string path;
    path.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string_view::npos) {
                path += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

// The fifth field of a mountinfo line is the mount point.
std::string mountPointOf(const std::string& line) {
    std::size_t start = 0;
    for (int field = 0; field < 4; ++field) {
        start = line.find(' ', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    const std::size_t end = line.find(' ', start);
    return unescapeMountPath(std::string_view(line).substr(start, end - start));
}

} // namespace

FileStamp stampOf(const struct stat& info) {
    return FileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::int64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

std::optional<RegularFile> readRegularFile(const std::filesystem::path& path) {
    posix_io::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT)
            return std::nullopt;
        if (errno == ELOOP)
            throw store::FileError(path, "it became a symbolic link while it was being opened", ELOOP);
        posix_io::throwFileError(path, errno);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        posix_io::throwFileError(path, errno);
    if (!S_ISREG(info.st_mode))
        posix_io::refuseFileKind(path, info.st_mode);
    return RegularFile{posix_io::readAll(fd.get(), path), stampOf(info)};
}

void createReadableFile(const std::filesystem::path& path) {
    posix_io::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!fd.valid()) {
        if (errno == EEXIST)
            return;
        posix_io::throwFileError(path, errno);
    }
    // The creation mode passed through the umask; a hosts file must stay readable whatever it was.
    if (::fchmod(fd.get(), 0644) != 0)
        posix_io::throwFileError(path, errno);
    if (const int error = fd.closeChecked())
        posix_io::throwFileError(path, error);
}

bool isMountPoint(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::canonical(path, error);
    if (error)
        return false;
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        if (mountPointOf(line) == absolute.native())
            return true;
    }
    return false;
}

int folderWriteError(const std::filesystem::path& folder) {
    const std::filesystem::path checked = folder.empty() ? std::filesystem::path(".") : folder;
    return ::access(checked.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

} // namespace tallowby::platform::hosts_io
