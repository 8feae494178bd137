#pragma once
// Website blocks that stay until their session ends: what the window asks the hosts file to lock,
// and how it tells the user what stays.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/tick.h"
#include "platform/hosts/site_locks.h"
#include "store/rule_lists.h"

namespace tallowby::ui {

// The request that blocks these sites: with their locks when the options keep website blocks until
// their session ends, else none.
platform::BlockRequest hostsRequest(const std::vector<std::string>& sites, const store::RuleLists& lists,
                                    const engine::WholeDayPanel& wholeDay, int currentSessionIndex,
                                    const engine::LocalDateTime& now);

// The question put after Stop, a pause or Exit while locked sites stay: each site with the time it
// stays until, the day named when that is not today (now, seconds since the epoch).
QString locksStayingQuestion(const std::vector<platform::BlockLine>& staying, std::int64_t now);

// When a lock ends, in words, as seen at now (seconds since the epoch; local time): "11:05" today,
// "midnight" at the end of today, "tomorrow 11:05", else the day and date ("Thu 10 Dec 00:00").
QString lockEndText(std::int64_t until, std::int64_t now);

} // namespace tallowby::ui
