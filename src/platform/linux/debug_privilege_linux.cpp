#include "platform/debug_privilege.h"

namespace tallowby::platform {

// Linux has no privilege to switch on: acting on other users' processes needs root or
// CAP_KILL, which a process either has from the start or never gets.
void EnableDebugPrivilege() {}

} // namespace tallowby::platform
