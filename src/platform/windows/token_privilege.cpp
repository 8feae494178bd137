#include "platform/windows/token_privilege.h"

#include <windows.h>

namespace tallowby::platform::windows {

bool enablePrivilege(const wchar_t* name) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // AdjustTokenPrivileges succeeds also when the token lacks the privilege: only the last error
    // (ERROR_NOT_ALL_ASSIGNED) tells.
    const bool enabled = ::LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid) &&
                         ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                         ::GetLastError() == ERROR_SUCCESS;
    ::CloseHandle(token);
    return enabled;
}

bool runsAsAdministrator() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool elevated = ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                          elevation.TokenIsElevated != 0;
    ::CloseHandle(token);
    return elevated;
}

} // namespace tallowby::platform::windows
