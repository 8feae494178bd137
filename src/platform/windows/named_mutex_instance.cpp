// The single-instance lock on Windows: a named mutex of this log-on session and user.
#include "platform/single_instance.h"

#include <windows.h>
// After windows.h, which they need.
#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/windows/user_sid.h"
#include "platform/windows/wide_text.h"

namespace tallowby::platform {

std::wstring SingleInstance::mutexName(const std::string& name) {
    // "Local\" keeps it to this log-on session; the SID to this user within it (a program started
    // as another user beside this one has its own files and its own lock). A backslash is the one
    // character a mutex name may not hold past the namespace.
    std::wstring plain = windows::wideOf(name);
    std::ranges::replace(plain, L'\\', L'/');
    return L"Local\\" + plain + L"-" + windows::userSid();
}

std::optional<SingleInstance> SingleInstance::acquire(const std::string& name, const std::filesystem::path&) {
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutexName(name).c_str());
    if (mutex == nullptr)
        return refused("no lock against a second start could be made: " +
                       std::system_category().message(static_cast<int>(::GetLastError())));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return std::nullopt;
    }
    return SingleInstance(mutex);
}

SingleInstance SingleInstance::refused(std::string failure) {
    SingleInstance instance(nullptr);
    instance.failure_ = std::move(failure);
    return instance;
}

SingleInstance::SingleInstance(SingleInstance&& other) noexcept
    : mutex_(std::exchange(other.mutex_, nullptr)), failure_(std::move(other.failure_)) {}

SingleInstance::~SingleInstance() {
    if (mutex_ != nullptr)
        ::CloseHandle(mutex_);
}

bool SingleInstance::holdsLock() const {
    return mutex_ != nullptr;
}

} // namespace tallowby::platform
