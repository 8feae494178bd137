#include "engine/record_lines.h"

#include <algorithm>

#include "store/line_values.h"
#include "store/reminder_records.h"
#include "store/session_records.h"

namespace tallowby::engine {

SessionRecord sessionRecord(const store::Lines& sessionLines, int index) {
    const std::size_t first = static_cast<std::size_t>(index) * store::kSessionLayout.size;
    const auto field = [&](std::size_t k) {
        return store::lineAt(sessionLines, static_cast<std::ptrdiff_t>(first + k));
    };
    return {field(0), field(1), field(2), field(3), field(4), field(5)};
}

WholeDayRecord wholeDayRecord(const store::Lines& wholeDayLines) {
    return {store::lineAt(wholeDayLines, 0), store::lineAt(wholeDayLines, 1), store::lineAt(wholeDayLines, 2),
            store::lineAt(wholeDayLines, 3)};
}

int sessionCount(const store::RuleLists& lists) {
    return std::min(lists.SessionCount, store::sessionCount(lists.SessionLines.size()));
}

int reminderCount(const store::RuleLists& lists) {
    return std::min(lists.ReminderCount, store::reminderCount(lists.ReminderLines.size()));
}

} // namespace tallowby::engine
