#include "platform/debug_privilege.h"

#include <windows.h>

#include "platform/windows/token_privilege.h"

namespace tallowby::platform {

// With it (an administrator's token holds it) TerminateProcess may end a monitor another user
// runs, one started as an administrator included.
void EnableDebugPrivilege() {
    windows::enablePrivilege(SE_DEBUG_NAME);
}

} // namespace tallowby::platform
