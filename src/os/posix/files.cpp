// The floor's file operations over POSIX calls.
#include "os/files.h"

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include "os/posix/posix_files.h"

namespace tallowby::os {
namespace {

[[noreturn]] void refuseSize(const std::filesystem::path& path, std::size_t limit) {
    throw FileError(
        path, "it is larger than the " + std::to_string(limit) + " bytes a file of its kind may hold", EFBIG);
}

} // namespace

namespace posix {

FileKind kindOf(mode_t mode) {
    static constexpr std::pair<mode_t, FileKind> kKinds[] = {
        {S_IFREG, FileKind::Regular}, {S_IFDIR, FileKind::Folder},          {S_IFLNK, FileKind::Link},
        {S_IFIFO, FileKind::Pipe},    {S_IFCHR, FileKind::CharacterDevice}, {S_IFBLK, FileKind::BlockDevice},
        {S_IFSOCK, FileKind::Socket}};
    for (const auto& [type, kind] : kKinds) {
        if ((mode & S_IFMT) == type)
            return kind;
    }
    return FileKind::Other;
}

FileInfo infoOf(const struct stat& info) {
    const FileStamp stamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                          static_cast<std::int64_t>(info.st_size),
                          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                              info.st_mtim.tv_nsec};
    return FileInfo{kindOf(info.st_mode), stamp, info.st_uid == ::geteuid()};
}

RegularFile readOpened(UniqueFd fd, const std::filesystem::path& reported, std::size_t limit) {
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        throwFileError(reported, errno);
    const FileInfo info = infoOf(status);
    // A pipe, a device or a socket is no file to read whole: reading one could wait or never end.
    if (info.kind != FileKind::Regular)
        refuseFileKind(reported, info.kind);
    if (static_cast<std::uint64_t>(status.st_size) > limit)
        refuseSize(reported, limit);
    // One byte past the limit tells a file that grew since it was looked at.
    std::string bytes = readAll(fd.get(), reported, limit == kNoLimit ? limit : limit + 1);
    if (bytes.size() > limit)
        refuseSize(reported, limit);
    return RegularFile{std::move(bytes), info.stamp};
}

std::optional<struct stat> lookAt(int folder, const std::string& name,
                                  const std::filesystem::path& reported) {
    UniqueFd named(::openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!named.valid()) {
        if (errno == ENOENT)
            return std::nullopt;
        throwFileError(reported, errno);
    }
    struct stat look {};
    if (::fstat(named.get(), &look) != 0)
        throwFileError(reported, errno);
    return look;
}

} // namespace posix

using posix::infoOf;

std::optional<FileInfo> fileInfo(const std::filesystem::path& path, Links links, int* error) {
    struct stat info {};
    const int result = links == Links::Follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (result != 0) {
        if (error != nullptr)
            *error = errno;
        return std::nullopt;
    }
    return infoOf(info);
}

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
    const std::optional<FileInfo> info = fileInfo(path);
    return info ? std::optional(info->stamp) : std::nullopt;
}

std::optional<RegularFile> readRegularFile(const std::filesystem::path& path, std::size_t limit,
                                           Links links) {
    // A device is never even opened: opening some has effects of its own. A link met without
    // following is told as a link, as on Windows; one that appears after this look is refused by
    // the open.
    if (const std::optional<FileInfo> look = fileInfo(path, links); look && look->kind != FileKind::Regular)
        refuseFileKind(path, look->kind);
    // Non-blocking: opening a named pipe would otherwise wait for a writer for ever.
    const int noFollow = links == Links::NotFollowed ? O_NOFOLLOW : 0;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noFollow));
    if (!fd.valid()) {
        // A path through something that is not a folder names no file either.
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        if (errno == ELOOP && noFollow)
            throw FileError(path, "it became a symbolic link while it was being opened", ELOOP);
        throwFileError(path, errno);
    }
    return posix::readOpened(std::move(fd), path, limit);
}

UniqueFd createExclusive(const std::filesystem::path& path, NewFileMode mode) {
    // 0666 lets the umask decide the mode of a file that is new.
    const mode_t bits = mode == NewFileMode::ReadableByAll ? 0644 : 0666;
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, bits));
    if (!fd.valid())
        throwFileError(path, errno);
    // The creation mode passed through the umask; this one must stay readable whatever it was.
    if (mode == NewFileMode::ReadableByAll && ::fchmod(fd.get(), bits) != 0)
        throwFileError(path, errno);
    return fd;
}

void appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (!fd.valid())
        throwFileError(path, errno);
    writeAll(fd.get(), bytes, path);
    if (const int error = fd.closeChecked())
        throwFileError(path, error);
}

LinkResult linkFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::link(from.c_str(), to.c_str()) == 0)
        return LinkResult::Linked;
    const int error = errno;
    if (error == ENOENT)
        return LinkResult::NoSource;
    if (error == EPERM || error == EOPNOTSUPP || error == EMLINK)
        return LinkResult::NotSupported;
    throwFileError(to, error);
}

int removeFile(const std::filesystem::path& path) {
    // No file can be there when the file or one of its folders is missing.
    return ::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR ? 0 : errno;
}

std::vector<std::string> listFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    DIR* stream = ::opendir(folder.c_str());
    if (stream == nullptr)
        return names;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(stream);
    return names;
}

int accessError(const std::filesystem::path& path, Access access) {
    return ::access(path.c_str(), access == Access::Run ? X_OK : R_OK) == 0 ? 0 : errno;
}

int folderWriteError(const std::filesystem::path& folder) {
    const std::filesystem::path checked = folder.empty() ? std::filesystem::path(".") : folder;
    return ::access(checked.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

UniqueFd lockExclusively(const std::filesystem::path& lockFile, std::chrono::milliseconds wait) {
    UniqueFd fd(::open(lockFile.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (!fd.valid())
        throwFileError(lockFile, errno);
    // Short waits at first: a writer holds the lock for a read, a plan and a rename.
    const auto until = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::microseconds(200);
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            throwFileError(lockFile, errno);
        if (std::chrono::steady_clock::now() >= until)
            throw FileError(lockFile, "another program has held it for too long", EWOULDBLOCK);
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
    }
    return fd;
}

} // namespace tallowby::os
