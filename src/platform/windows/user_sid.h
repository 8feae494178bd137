#pragma once
// The SID of the user this process runs as.
#include <string>

namespace tallowby::platform::windows {

// As text ("S-1-5-21-..."), empty when the token does not tell.
std::wstring userSid();

} // namespace tallowby::platform::windows
