// The hosts writer's operations of Windows's own.
#include "platform/hosts_io.h"

#include <windows.h>

#include "platform/windows/user_sid.h"
#include "platform/windows/wide_text.h"

namespace tallowby::platform::hosts_io {

std::string thisUser() {
    // A token that does not tell still needs a part of its own: one no SID can be.
    const std::string sid = windows::utf8Of(windows::userSid());
    return sid.empty() ? "unknown-user" : sid;
}

std::string machineName() {
    wchar_t name[256] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!::GetComputerNameExW(ComputerNameDnsHostname, name, &size))
        return {};
    return windows::utf8Of(std::wstring_view(name, size));
}

bool isMountPoint(const std::filesystem::path&) {
    // Windows mounts volumes on folders only: a file is always replaced, never rewritten in place.
    return false;
}

} // namespace tallowby::platform::hosts_io
