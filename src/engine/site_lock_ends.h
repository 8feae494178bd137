#pragma once
// How long each blocked website is to stay when website blocks stay until their session ends.
#include <cstdint>
#include <map>
#include <string>

#include "engine/clock.h"
#include "engine/tick.h"
#include "store/rule_lists.h"

namespace tallowby::engine {

// The site and the time (localMs) it is to stay blocked until: while a session is current, its
// websites and the whole-day websites it blocks with them until the session's end; on a whole-day
// day the whole-day websites until midnight; the later of the two where both hold. A session that
// ends at or before now (one running over midnight) ends on the next day.
std::map<std::string, std::int64_t> siteLockEnds(const store::RuleLists& lists, const WholeDayPanel& wholeDay,
                                                 int currentSessionIndex, const LocalDateTime& now);

} // namespace tallowby::engine
