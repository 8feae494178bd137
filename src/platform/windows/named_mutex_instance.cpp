// The single-instance lock on Windows: a named mutex of this log-on session and user.
#include "platform/single_instance.h"

#include <windows.h>
// After windows.h, which they need.
#include <algorithm>
#include <sddl.h>
#include <system_error>
#include <utility>

#include "platform/windows/wide_text.h"

namespace tallowby::platform {
namespace {

// The user's SID as text ("S-1-5-21-..."), empty when the token does not tell.
std::wstring userSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    std::wstring text;
    LPWSTR sid = nullptr;
    if (::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
        text = sid;
        ::LocalFree(sid);
    }
    ::CloseHandle(token);
    return text;
}

} // namespace

std::wstring SingleInstance::mutexName(const std::string& name) {
    // "Local\" keeps it to this log-on session; the SID to this user within it (a program started
    // as another user beside this one has its own files and its own lock). A backslash is the one
    // character a mutex name may not hold past the namespace.
    std::wstring plain = windows::wideOf(name);
    std::ranges::replace(plain, L'\\', L'/');
    return L"Local\\" + plain + L"-" + userSid();
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
