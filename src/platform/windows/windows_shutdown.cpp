#include "platform/windows/windows_shutdown.h"

#include <windows.h>

namespace tallowby::platform::windows {
namespace {

// Shutting down and calling it off need the shutdown privilege, which a user's token holds but
// leaves disabled.
bool enableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool enabled = ::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                         ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                         ::GetLastError() == ERROR_SUCCESS;
    ::CloseHandle(token);
    return enabled;
}

constexpr DWORD kSecondsOfWarning = 60;

} // namespace

bool WindowsShutdown::start() {
    return enableShutdownPrivilege() &&
           ::InitiateSystemShutdownExW(nullptr, nullptr, kSecondsOfWarning, TRUE, FALSE,
                                       SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER |
                                           SHTDN_REASON_FLAG_PLANNED);
}

bool WindowsShutdown::cancel() {
    // Answers at once: no waiting for whileWaiting() to fill.
    return enableShutdownPrivilege() && ::AbortSystemShutdownW(nullptr);
}

} // namespace tallowby::platform::windows
