#pragma once
// The four rule lines shared by a session record (its lines 2-5) and the whole-day record (lines
// 0-3): week days, process mode, process list, website list.
#include <cstddef>
#include <string>
#include <vector>

#include "store/text_file.h"
#include "store/week_days.h"

namespace tallowby::store {

struct RuleFields {
    WeekDays weekDays{};
    bool blockMode = true; // process mode "0" Block; otherwise Focus
    std::vector<std::string> processes;
    std::vector<std::string> websites;
    friend bool operator==(const RuleFields&, const RuleFields&) = default;
};

// The four lines from `first` on, as the editing panels read them: only a mode of exactly "0" is
// Block; missing lines read as empty.
RuleFields decodeRuleFields(const Lines& lines, std::size_t first);

// Exactly four lines: seven "1"/"0" day characters, "0" Block or "1" Focus, and the two entry lists.
Lines encodeRuleFields(const RuleFields& fields);

// The four lines from `first` on of what the file holds now, with the user's change made to them: the
// change is where the edited fields differ from the fields as read (a day box, the mode, an entry
// added or removed). When the lines now read as they did, they are the edited fields; otherwise every
// line the change does not touch stays as it is now, a hand edit included.
Lines reapplyRuleFields(const RuleFields& read, const RuleFields& edited, const Lines& now,
                        std::size_t first);

} // namespace tallowby::store
