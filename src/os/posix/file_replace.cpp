// Whole-file replacement that never leaves a half-written file behind: the new contents go to a
// temporary file in the same folder, which is flushed to disk and then renamed over the old file.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "os/files.h"
#include "os/posix/posix_files.h"
#include "os/replace_file.h"
#include "os/temporary_name.h"

namespace tallowby::os {
namespace {

namespace fs = std::filesystem;

// A link is followed, so the link itself stays a link and the file it names gets the new contents.
fs::path resolveLink(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    std::error_code error;
    fs::path target = fs::canonical(path, error);
    return error ? path : target;
}

std::uint64_t nextRandom() {
    // splitmix64 over a per-thread seed: enough to make a name collision unlikely; O_EXCL makes it
    // harmless anyway. A forked child is seeded afresh: one that inherited its parent's state would
    // try the very names its parent and siblings tried, and after a few crashed writers left their
    // temporary files behind, it would run out of attempts.
    thread_local std::uint64_t state = 0;
    thread_local pid_t seededFor = 0;
    if (const pid_t pid = ::getpid(); pid != seededFor) {
        seededFor = pid;
        state = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (static_cast<std::uint64_t>(pid) << 32);
    }
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// The temporary file; removed again unless it was renamed into place.
class TempFile {
  public:
    TempFile(int folder, const std::string& name, const fs::path& reported) : folder_(folder) {
        static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string suffix;
            std::uint64_t bits = nextRandom();
            for (std::size_t i = 0; i < kTemporarySuffixLength; ++i, bits /= 62)
                suffix += kChars[bits % 62];
            name_ = temporaryName(name, suffix);
            // 0666 lets the umask decide the mode of a file that is new.
            const int fd =
                ::openat(folder_, name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_.reset(fd);
                return;
            }
            if (errno != EEXIST)
                throwFileError(reported, errno);
        }
        throwFileError(reported, EEXIST);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        fd_.closeChecked();
        if (!renamed_)
            ::unlinkat(folder_, name_.c_str(), 0);
    }

    int fd() const { return fd_.get(); }
    const std::string& name() const { return name_; }
    void syncAndClose(const fs::path& reported) { os::syncAndClose(fd_, reported); }
    void markRenamed() { renamed_ = true; }

  private:
    int folder_;
    std::string name_;
    UniqueFd fd_;
    bool renamed_ = false;
};

void keepOwnerAndMode(int fd, const struct stat& old, const fs::path& reported) {
    // Only root may give a file away; an ordinary user keeps at least the group when they belong to
    // it. The replacement is still made when neither is allowed, so neither result is reported (the
    // empty branch keeps the compiler from warning about a result left unused).
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    }
    // After fchown, which may clear the set-id bits.
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        throwFileError(reported, errno);
}

// The new bytes and NUL filler over the old ones in one write, then the cut: see rewriteFileInPlace.
void rewriteOpened(UniqueFd& fd, std::string_view bytes, const fs::path& reported) {
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throwFileError(reported, errno);
    if (!S_ISREG(info.st_mode))
        throw FileError(reported, "it is not a regular file");
    std::string covering(bytes);
    if (const auto oldSize = static_cast<std::size_t>(info.st_size); oldSize > covering.size())
        covering.append(oldSize - covering.size(), '\0');
    writeAll(fd.get(), covering, reported);
    if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0)
        throwFileError(reported, errno);
    syncAndClose(fd, reported);
}

// The stamp of what stands at the name, taken as lookAt takes it, so that it agrees with the stamp
// a read of the same file took.
std::optional<FileStamp> stampAt(int folder, const std::string& name, const fs::path& reported) {
    const std::optional<struct stat> look = posix::lookAt(folder, name, reported);
    return look ? std::optional(posix::infoOf(*look).stamp) : std::nullopt;
}

// Puts the temporary file in the name's place. With an expected stamp the file there is looked at
// just before, then the two are swapped in one step, where the file system can, and the file
// swapped out must be the one expected; else it is swapped back and errno is ESTALE.
bool takePlace(int folder, const TempFile& temp, const std::string& name, const FileStamp* expected,
               const fs::path& reported) {
    if (expected == nullptr)
        return ::renameat(folder, temp.name().c_str(), folder, name.c_str()) == 0;
    // Looked at first, so that the file of a writer that came in while this one wrote is not
    // even swapped out for a moment, when a reader could see this one's bytes in its place.
    if (stampAt(folder, name, reported) != *expected) {
        errno = ESTALE;
        return false;
    }
    if (::renameat2(folder, temp.name().c_str(), folder, name.c_str(), RENAME_EXCHANGE) == 0) {
        // The temporary name now holds what was in place.
        if (stampAt(folder, temp.name(), reported) == *expected)
            return true;
        if (::renameat2(folder, temp.name().c_str(), folder, name.c_str(), RENAME_EXCHANGE) != 0)
            throwFileError(reported, errno);
        errno = ESTALE;
        return false;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
    // No swap on this file system: the look above has to do.
    return ::renameat(folder, temp.name().c_str(), folder, name.c_str()) == 0;
}

} // namespace

namespace posix {

bool replaceIn(int folder, const std::string& name, const struct stat* old, std::string_view bytes,
               const fs::path& reported, const FileStamp* expected) {
    if (expected != nullptr && old == nullptr)
        return false;
    TempFile temp(folder, name, reported);
    writeAll(temp.fd(), bytes, reported);
    if (old != nullptr)
        keepOwnerAndMode(temp.fd(), *old, reported);
    temp.syncAndClose(reported);

    if (takePlace(folder, temp, name, expected, reported)) {
        // After a swap the temporary name holds the old file, which goes.
        if (expected != nullptr && ::unlinkat(folder, temp.name().c_str(), 0) != 0 && errno != ENOENT)
            throwFileError(reported, errno);
        temp.markRenamed();
    } else if (errno == ESTALE) {
        return false;
    } else if (errno != EBUSY || old == nullptr || expected != nullptr) {
        throwFileError(reported, errno);
    } else {
        // A file that is a mount point (a bind-mounted /etc/hosts in a container, for one) cannot be
        // renamed over; it can only be rewritten where it is, and never through a link.
        UniqueFd fd(::openat(folder, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd.valid())
            throwFileError(reported, errno);
        rewriteOpened(fd, bytes, reported);
    }
    // Makes the rename itself durable. Some file systems refuse fsync on a folder; the new contents
    // are in place by now, so that is not reported.
    (void)::fsync(folder);
    return true;
}

} // namespace posix

bool detail::replaceFile(const fs::path& path, std::string_view bytes, const FileStamp* expected) {
    const fs::path target = resolveLink(path);
    const std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..")
        throwFileError(path, EISDIR);
    fs::path folderPath = target.parent_path();
    if (folderPath.empty())
        folderPath = ".";
    UniqueFd folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        throwFileError(path, errno);

    struct stat old {};
    const bool replacing = ::fstatat(folder.get(), name.c_str(), &old, 0) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        throwFileError(path, EISDIR);
    return posix::replaceIn(folder.get(), name, replacing ? &old : nullptr, bytes, path, expected);
}

void rewriteFileInPlace(const fs::path& path, std::string_view bytes) {
    // Neither a link nor a wait: the caller names the file itself, and a named pipe put there would
    // hold a blocking open until someone opened its other end. One write lays the new bytes down
    // and NUL bytes over whatever of the old ones runs on beyond them; only then is the file cut to
    // length. Cut short in between, the file holds the new bytes followed by filler that no text
    // holds, never old lines after the new ones or a line cut in two, and the next reader can tell
    // the filler apart and drop it.
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        throwFileError(path, errno);
    rewriteOpened(fd, bytes, path);
}

} // namespace tallowby::os
