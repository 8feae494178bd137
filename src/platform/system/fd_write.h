#pragma once
#include <string_view>

namespace tallowby::platform {

// Writes all of text to fd, going on after short writes and interrupts. false on any error.
bool writeAll(int fd, std::string_view text);

} // namespace tallowby::platform
