#pragma once
// One running program per program folder and user. The lock is an flock on a file outside the
// program folder; the kernel drops it when its holder ends in any way, SIGKILL included, so a
// crashed program never keeps the next one from starting.
//
// The lock's name joins the application title with a digest of the program folder, so the real and
// the sandbox program (or two installed copies) each have their own lock: what they must not share
// is their data files, and those live in their folders.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "os/descriptor.h"

namespace tallowby::platform {

class SingleInstance {
  public:
    // The lock name of a program: title + "-" + 16 hex digits of the folder's normalised path.
    static std::string nameFor(std::string_view title, const std::filesystem::path& programFolder);

    // Where this user's locks live: $XDG_RUNTIME_DIR when it names a folder private to the user,
    // otherwise "<dataFolder>/.lock", made private to the user (one that is not is refused: empty
    // path). Never a shared folder such as /tmp, where another user could make the folder first and
    // so keep the program from starting.
    static std::filesystem::path lockFolder(const std::filesystem::path& dataFolder);
    static std::filesystem::path lockFolder(const char* runtimeDir, const std::filesystem::path& dataFolder);

    // nullopt when another process holds the lock: this program is a second instance. When no lock
    // can be made at all (no private folder, unsupported file system) holdsLock() is false and
    // failure() says why: two unguarded instances would both write the same files, so the program
    // does not start.
    static std::optional<SingleInstance> acquire(const std::string& name,
                                                 const std::filesystem::path& dataFolder);
    static std::optional<SingleInstance> acquireIn(const std::filesystem::path& folder,
                                                   const std::string& name);

    // Ending the instance releases the lock. The file stays: removing it would let a newcomer lock
    // a fresh file while a waiting opener still locks the old one.

    bool holdsLock() const { return fd_.valid(); }
    const std::filesystem::path& lockFile() const { return lockFile_; }
    const std::string& failure() const { return failure_; }

  private:
    SingleInstance(os::UniqueFd fd, std::filesystem::path lockFile)
        : fd_(std::move(fd)), lockFile_(std::move(lockFile)) {}
    static SingleInstance refused(std::string failure);

    os::UniqueFd fd_;
    std::filesystem::path lockFile_;
    std::string failure_;
};

} // namespace tallowby::platform
