#pragma once

namespace tallowby::platform {

// Asks for the right to act on other users' processes; the outcome is not reported.
void EnableDebugPrivilege();

} // namespace tallowby::platform
