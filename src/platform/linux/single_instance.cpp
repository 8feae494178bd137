// The single-instance lock on Linux: an flock on a file in a folder that only this user can write.
#include "platform/single_instance.h"

#include "os/files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tallowby::platform {
namespace {

bool usableFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// A folder in a shared /tmp is only trusted when it is ours alone: anyone else could otherwise
// hold our lock and keep the program from starting.
bool privateFolder(const std::filesystem::path& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

SingleInstance::SingleInstance(SingleInstance&&) noexcept = default;

SingleInstance::~SingleInstance() = default;

bool SingleInstance::holdsLock() const {
    return fd_.valid();
}

std::filesystem::path SingleInstance::lockFolder(const std::filesystem::path& dataFolder) {
    return lockFolder(std::getenv("XDG_RUNTIME_DIR"), dataFolder);
}

std::filesystem::path SingleInstance::lockFolder(const char* runtimeDir,
                                                 const std::filesystem::path& dataFolder) {
    if (runtimeDir != nullptr && runtimeDir[0] == '/' && privateFolder(runtimeDir)) {
        return runtimeDir;
    }
    const std::filesystem::path folder = dataFolder / ".lock";
    try {
        os::makePrivateFolders(folder);
    } catch (const os::FileError&) {
        return {};
    }
    return privateFolder(folder) ? folder : std::filesystem::path{};
}

std::optional<SingleInstance> SingleInstance::acquire(const std::string& name,
                                                      const std::filesystem::path& dataFolder) {
    return acquireIn(lockFolder(dataFolder), name);
}

std::optional<SingleInstance> SingleInstance::acquireIn(const std::filesystem::path& folder,
                                                        const std::string& name) {
    if (folder.empty()) {
        return refused("there is no folder for it that only this user can write (XDG_RUNTIME_DIR does "
                       "not name one, and the .lock folder in the data folder is not private to this user)");
    }
    if (!usableFileName(name)) {
        return refused("\"" + name + "\" is not a usable file name");
    }
    std::filesystem::path file = folder / (name + ".lock");
    // Close-on-exec: a program started from here (the shutdown command) must not inherit the lock
    // and keep it after this program has ended.
    os::UniqueFd fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) {
        return refused(file.string() + ": " + std::generic_category().message(errno));
    }
    int result;
    do {
        result = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
            return std::nullopt;
        }
        return refused(file.string() + ": " + std::generic_category().message(error));
    }
    return SingleInstance(std::move(fd), std::move(file));
}

SingleInstance SingleInstance::refused(std::string failure) {
    SingleInstance instance(os::UniqueFd(), {});
    instance.failure_ = std::move(failure);
    return instance;
}

} // namespace tallowby::platform
