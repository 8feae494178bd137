#pragma once
// Privileges of the program's own access token, which Windows gives a user's programs switched off.

namespace tallowby::platform::windows {

// Switches the privilege named so (SE_SHUTDOWN_NAME, SE_DEBUG_NAME) on in the program's own token;
// false when the token does not hold it or cannot be changed.
bool enablePrivilege(const wchar_t* name);

// Whether the program runs with an administrator's full rights (an elevated token).
bool runsAsAdministrator();

} // namespace tallowby::platform::windows
