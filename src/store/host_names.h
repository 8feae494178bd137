#pragma once
// What may stand as a website in the rules and in the hosts file: a plain host name. The hosts file
// is trusted by every program on the machine and written through a privileged helper, so nothing
// else (a URL, a blank, a line break) may reach it.
#include <string_view>

namespace tallowby::store {

// Letters, digits and "-" in dot-separated labels of 1 to 63 characters, 253 characters at most; no
// label begins or ends with "-". At least two labels, the last not all digits, nor all labels
// numbers in any form the resolver reads as an address (0x7f.0x1, 1.2.3.0x10); and none of this
// machine's loopback names (localhost, localhost.*, *.localhost, ip6-*).
bool isPlainHostName(std::string_view name);

} // namespace tallowby::store
