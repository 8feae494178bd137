#pragma once
// One running program per data folder, held for as long as the SingleInstance lives. The lock
// belongs to the folder itself, so every way of reaching the folder finds the same one: another
// spelling of its path, a link or a bind mount to it, a start without the desktop's environment
// (su, ssh, a terminal outside the session). The system drops the lock when its holder ends in any
// way (killed, crashed), so a program that ended badly never keeps the next one from starting:
// - Linux: an flock on a lock file inside the data folder, private to its user (the kernel drops it
//   with the descriptor);
// - Windows: a named mutex in the log-on session's namespace whose name holds the folder's volume
//   serial number and file index and the user's SID (Windows destroys it with the last handle).
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
    // nullopt when another process holds the lock of this data folder: this program is a second
    // instance. When no lock can be taken at all (the folder cannot be made or opened, something
    // other than a lock file stands in its place) holdsLock() is false and failure() says why: two
    // unguarded instances would both write the same files, so the program does not start. A missing
    // data folder is made (private to the user), as the lock is taken before anything is put there.
    static std::optional<SingleInstance> acquire(std::string_view title,
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
    // The mutex's full name, "Local\<title>-<volume serial>-<file index>-<SID>"; empty when the
    // folder cannot be opened.
    static std::wstring mutexName(std::string_view title, const std::filesystem::path& dataFolder);
#else
    // The lock file's name in the data folder: "." + title + ".lock".
    static std::string lockFileName(std::string_view title);

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
