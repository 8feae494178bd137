#include "engine/site_lock_ends.h"

#include <algorithm>

#include "engine/entry_list.h"
#include "engine/record_lines.h"
#include "engine/time_rules.h"
#include "store/line_values.h"
#include "store/time_of_day.h"

namespace tallowby::engine {
namespace {

void lockUntil(std::map<std::string, std::int64_t>& ends, const std::string& site, std::int64_t until) {
    std::int64_t& end = ends[site];
    end = std::max(end, until);
}

} // namespace

std::map<std::string, std::int64_t> siteLockEnds(const store::RuleLists& lists, const WholeDayPanel& wholeDay,
                                                 int currentSessionIndex, const LocalDateTime& now) {
    std::map<std::string, std::int64_t> ends;
    const std::int64_t midnight = localMs(now) - now.msOfDay;
    if (ScheduledToday(store::lineAt(lists.WholeDayLines, 0), now))
        for (const std::string& site : wholeDay.domains)
            lockUntil(ends, site, midnight + store::kMsPerDay);
    if (currentSessionIndex < 0 || currentSessionIndex >= sessionCount(lists))
        return ends;
    const SessionRecord session = sessionRecord(lists.SessionLines, currentSessionIndex);
    const std::optional<std::int64_t> end = store::readTimeOfDay(session.end);
    if (!end)
        return ends;
    const std::int64_t until = midnight + *end + (*end <= now.msOfDay ? store::kMsPerDay : 0);
    for (const std::string& site : filledEntries(SplitEntryList(session.websites)))
        lockUntil(ends, site, until);
    for (const std::string& site : wholeDay.domains)
        lockUntil(ends, site, until);
    return ends;
}

} // namespace tallowby::engine
