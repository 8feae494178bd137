#pragma once
// One running program per program folder and user, through a named mutex in the session's
// namespace whose name holds the user's SID. Windows destroys the mutex with the last handle to it,
// so a program that crashed or was ended never keeps the next one from starting.
#include <optional>
#include <string>

namespace tallowby::platform::windows {

class NamedMutexInstance {
  public:
    // name: the lock name (the title and a digest of the program folder). nullopt when another
    // process of this user holds it: this program is a second instance. When no mutex can be made
    // at all, holdsLock() is false and failure() says why.
    static std::optional<NamedMutexInstance> acquire(const std::string& name);

    NamedMutexInstance(NamedMutexInstance&& other) noexcept;
    NamedMutexInstance(const NamedMutexInstance&) = delete;
    NamedMutexInstance& operator=(const NamedMutexInstance&) = delete;
    NamedMutexInstance& operator=(NamedMutexInstance&&) = delete;
    ~NamedMutexInstance();

    bool holdsLock() const { return mutex_ != nullptr; }
    const std::string& failure() const { return failure_; }
    // The mutex's full name, "Local\<name>-<SID>".
    static std::wstring mutexName(const std::string& name);

  private:
    NamedMutexInstance(void* mutex, std::string failure) : mutex_(mutex), failure_(std::move(failure)) {}
    void* mutex_;
    std::string failure_;
};

} // namespace tallowby::platform::windows
