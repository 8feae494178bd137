#pragma once
// The tick's view of the rule records: copied out of the lists, so that a list reloaded while a modal
// window is open never leaves the tick holding a dangling reference. Missing lines read as empty.
#include <string>

#include "store/rule_lists.h"

namespace tallowby::engine {

struct SessionRecord {
    std::string start;
    std::string end;
    std::string weekDays;
    std::string mode;
    std::string processes;
    std::string websites;
};

SessionRecord sessionRecord(const store::Lines& sessionLines, int index);

struct WholeDayRecord {
    std::string weekDays;
    std::string mode;
    std::string processes;
    std::string websites;
};

WholeDayRecord wholeDayRecord(const store::Lines& wholeDayLines);

// The complete records the lists hold, never more than their lines can fill whatever count they were
// loaded with.
int sessionCount(const store::RuleLists& lists);
int reminderCount(const store::RuleLists& lists);

} // namespace tallowby::engine
