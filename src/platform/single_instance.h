#pragma once
// One running program per program folder and user, held for as long as the SingleInstance lives.
// The system drops the lock when its holder ends in any way (killed, crashed), so a program that
// ended badly never keeps the next one from starting:
// - Linux: an flock on a file outside the program folder (the kernel drops it with the descriptor);
// - Windows: a named mutex in the log-on session's namespace whose name holds the user's SID
//   (Windows destroys it with the last handle to it).
//
// The lock's name joins the application title with a digest of the program folder, so the real and
// the sandbox program (or two installed copies) each have their own lock: what they must not share
// is their data files, and those live in their folders.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#ifndef _WIN32
#include "os/descriptor.h"
#endif

namespace tallowby::platform {

class SingleInstance {
  public:
    // The lock name of a program: title + "-" + 16 hex digits of the folder's normalised path.
    static std::string nameFor(std::string_view title, const std::filesystem::path& programFolder);

    // nullopt when another process holds the lock: this program is a second instance. When no lock
    // can be made at all (no private folder, unsupported file system, no mutex) holdsLock() is false
    // and failure() says why: two unguarded instances would both write the same files, so the
    // program does not start. dataFolder is where a lock file may go when the system has no
    // better place (Linux); Windows needs none.
    static std::optional<SingleInstance> acquire(const std::string& name,
                                                 const std::filesystem::path& dataFolder);

    // Ending the instance releases the lock.
    SingleInstance(SingleInstance&& other) noexcept;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    SingleInstance& operator=(SingleInstance&&) = delete;
    ~SingleInstance();

    bool holdsLock() const;
    const std::string& failure() const { return failure_; }

#ifdef _WIN32
    // The mutex's full name, "Local\<name>-<SID>".
    static std::wstring mutexName(const std::string& name);
#else
    // A lock file is Linux's alone: where it lives matters there (a shared folder would let another
    // user hold it first), and tests lock in folders of their own.

    // Where this user's locks live: $XDG_RUNTIME_DIR when it names a folder private to the user,
    // otherwise "<dataFolder>/.lock", made private to the user (one that is not is refused: empty
    // path). Never a shared folder such as /tmp, where another user could make the folder first and
    // so keep the program from starting.
    static std::filesystem::path lockFolder(const std::filesystem::path& dataFolder);
    static std::filesystem::path lockFolder(const char* runtimeDir, const std::filesystem::path& dataFolder);

    static std::optional<SingleInstance> acquireIn(const std::filesystem::path& folder,
                                                   const std::string& name);

    // The file stays when the lock ends: removing it would let a newcomer lock a fresh file while a
    // waiting opener still locks the old one.
    const std::filesystem::path& lockFile() const {
        return lockFile_;
    }
#endif

  private:
    static SingleInstance refused(std::string failure);

#ifdef _WIN32
    explicit SingleInstance(void* mutex) : mutex_(mutex) {}
    void* mutex_ = nullptr;
#else
    SingleInstance(os::UniqueFd fd, std::filesystem::path lockFile)
        : fd_(std::move(fd)), lockFile_(std::move(lockFile)) {}
    os::UniqueFd fd_;
    std::filesystem::path lockFile_;
#endif
    std::string failure_;
};

} // namespace tallowby::platform
