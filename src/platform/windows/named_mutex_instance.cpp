// The single-instance lock on Windows: a named mutex of this log-on session and user, named after
// the data folder itself.
#include "platform/single_instance.h"

#include <windows.h>
// After windows.h, which they need.
#include <algorithm>
#include <cwchar>
#include <iterator>
#include <system_error>
#include <utility>

#include "os/files.h"
#include "os/path_text.h"
#include "platform/windows/user_sid.h"
#include "platform/windows/wide_text.h"

namespace tallowby::platform {
namespace {

// What the folder is, whatever path reached it (another spelling, a junction, a drive letter made
// with subst): its volume's serial number and its file index, as hex digits; empty when it cannot be
// opened.
std::wstring folderIdentity(const std::filesystem::path& folder) {
    // Backup semantics: the only way CreateFile opens a folder. No access is asked for beyond its
    // attributes, and every sharing mode is granted, so the folder stays free for everyone else.
    const HANDLE handle = ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!known)
        return {};
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%08lX-%08lX%08lX", info.dwVolumeSerialNumber, info.nFileIndexHigh,
                  info.nFileIndexLow);
    return text;
}

} // namespace

std::wstring SingleInstance::mutexName(std::string_view title, const std::filesystem::path& dataFolder) {
    const std::wstring identity = folderIdentity(dataFolder);
    if (identity.empty())
        return {};
    // "Local\" keeps it to this log-on session; the SID to this user within it (a program started
    // as another user beside this one has its own lock). A backslash is the one character a mutex
    // name may not hold past the namespace.
    std::wstring plain = windows::wideOf(title);
    std::ranges::replace(plain, L'\\', L'/');
    return L"Local\\" + plain + L"-" + identity + L"-" + windows::userSid();
}

std::optional<SingleInstance> SingleInstance::acquire(std::string_view title,
                                                      const std::filesystem::path& dataFolder) {
    try {
        os::makePrivateFolders(dataFolder);
    } catch (const os::FileError& error) {
        return refused(os::utf8Of(error.path()) + ": " + error.what());
    }
    const std::wstring name = mutexName(title, dataFolder);
    if (name.empty())
        return refused(os::utf8Of(dataFolder) + ": " +
                       std::system_category().message(static_cast<int>(::GetLastError())));
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
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
