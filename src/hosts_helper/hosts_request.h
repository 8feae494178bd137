#pragma once
// What the hosts helper accepts on its standard input: the host names to block, one a line, a locked
// one followed by a blank and the seconds since the epoch it is to stay until. Only plain host names
// and times pass, so nothing the caller sends can become anything but a name in the program's block
// of a file that every program on the machine trusts.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hosts/hosts_bounds.h"
#include "platform/hosts/site_locks.h"

namespace tallowby::hosts_helper {

using platform::kMaxRequestBytes;
using platform::kMostPartSites;

struct HostsRequest {
    platform::BlockRequest block;
    // Why the request is refused, naming what was wrong; empty when it is accepted.
    std::string refusal;

    bool accepted() const { return refusal.empty(); }
};

// Every line ends with "\n" but a last one may end the input without it; no input at all asks for
// the block with no sites. More than kMostPartSites lines, or more than kMaxRequestBytes, are
// refused. A refused request carries no sites.
HostsRequest readHostsRequest(std::string_view input);

} // namespace tallowby::hosts_helper
