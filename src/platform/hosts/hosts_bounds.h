#pragma once
// What the hosts writer keeps the program's block within, whoever asks: the privileged helper takes
// requests from every user of the machine without a password, so no user may make the file too
// large for the resolver, the program or anyone but root to read and mend.
#include <cstddef>

#include "platform/hosts_io.h"
#include "store/rule_limits.h"

namespace tallowby::platform {

// The sites one user's part may hold, locked ones included: what one user's rules can ask for at
// once, a session's website list and the whole-day list, each read up to store::kMaxListEntries.
inline constexpr std::size_t kMostPartSites = 2 * store::kMaxListEntries;

// A line of a request to the helper: the longest host name, a blank, a lock time of twelve digits
// and the line end.
inline constexpr std::size_t kLongestRequestLine = 253 + 1 + 12 + 1;
// The largest request the helper reads: kMostPartSites lines of the longest kind.
inline constexpr std::size_t kMaxRequestBytes = kMostPartSites * kLongestRequestLine;

// The file as a whole: no write makes it larger than what the program reads. A write that does not
// make it larger is never refused for its size, so a file past this can always be mended.
inline constexpr std::size_t kMostHostsFileBytes = hosts_io::kLargestHostsFile;

} // namespace tallowby::platform
