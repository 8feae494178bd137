// The single-instance lock on Linux: an flock on a lock file inside the data folder. The file is
// the folder's, so every path and every environment that reaches the folder meets the same lock;
// and it is private to the user, so no one else can open it to hold the lock first.
#include "platform/single_instance.h"

#include "os/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tallowby::platform {
namespace {

std::string described(const std::filesystem::path& path, int error) {
    return path.string() + ": " + std::generic_category().message(error);
}

std::string notRegular(const std::filesystem::path& path) {
    return path.string() + " is not a regular file (it should be the lock file)";
}

} // namespace

SingleInstance::SingleInstance(SingleInstance&&) noexcept = default;

SingleInstance::~SingleInstance() = default;

bool SingleInstance::holdsLock() const {
    return fd_.valid();
}

std::string SingleInstance::lockFileName(std::string_view title) {
    return "." + std::string(title) + ".lock";
}

std::optional<SingleInstance> SingleInstance::acquire(std::string_view title,
                                                      const std::filesystem::path& dataFolder) {
    try {
        os::makePrivateFolders(dataFolder);
    } catch (const os::FileError& error) {
        return refused(error.path().string() + ": " + error.what());
    }
    const os::UniqueFd folder(::open(dataFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return refused(described(dataFolder, errno));
    std::filesystem::path file = dataFolder / lockFileName(title);
    // Never through a link, which could lead anywhere; never waiting on a named pipe put in its
    // place. Close-on-exec: a program started from here (the shutdown command) must not inherit the
    // lock and keep it after this program has ended.
    os::UniqueFd fd(::openat(folder.get(), lockFileName(title).c_str(),
                             O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        const int error = errno;
        if (error == ELOOP)
            return refused(file.string() + " is a symbolic link, not a lock file");
        if (error == EISDIR)
            return refused(notRegular(file));
        return refused(described(file, error));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return refused(described(file, errno));
    if (!S_ISREG(info.st_mode))
        return refused(notRegular(file));
    // A lock file others may open (made by hand, or under another umask) is made private, so that
    // no one else can hold the lock from now on.
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 && info.st_uid == ::geteuid())
        ::fchmod(fd.get(), 0600);
    int result;
    do {
        result = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK)
            return std::nullopt;
        return refused(described(file, error));
    }
    return SingleInstance(std::move(fd), std::move(file));
}

SingleInstance SingleInstance::refused(std::string failure) {
    SingleInstance instance(os::UniqueFd(), {});
    instance.failure_ = std::move(failure);
    return instance;
}

} // namespace tallowby::platform
