#pragma once
// What may stand as a website in the rules and in the hosts file: a plain host name. The hosts file
// is trusted by every program on the machine and written through a privileged helper, so nothing
// else (a URL, a blank, a line break) may reach it.
#include <string_view>

namespace tallowby::store {

// Letters, digits and "-" in dot-separated labels of 1 to 63 characters, 253 characters at most; no
// label begins or ends with "-", and the last is not all digits (an address, not a name).
bool isPlainHostName(std::string_view name);

} // namespace tallowby::store
