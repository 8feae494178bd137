#include "platform/windows/windows_shutdown.h"

#include <windows.h>

#include "platform/windows/token_privilege.h"

namespace tallowby::platform::windows {
namespace {

constexpr DWORD kSecondsOfWarning = 60;

} // namespace

// Shutting down and calling it off need the shutdown privilege, which a user's token holds but
// leaves disabled.
bool WindowsShutdown::start() {
    return enablePrivilege(SE_SHUTDOWN_NAME) &&
           ::InitiateSystemShutdownExW(nullptr, nullptr, kSecondsOfWarning, TRUE, FALSE,
                                       SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER |
                                           SHTDN_REASON_FLAG_PLANNED);
}

bool WindowsShutdown::cancel() {
    // Answers at once: no waiting for whileWaiting() to fill.
    return enablePrivilege(SE_SHUTDOWN_NAME) && ::AbortSystemShutdownW(nullptr);
}

} // namespace tallowby::platform::windows
