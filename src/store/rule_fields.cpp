#include "store/rule_fields.h"

#include <algorithm>

#include "store/entry_list.h"
#include "store/line_values.h"

namespace tallowby::store {

RuleFields decodeRuleFields(const Lines& lines, std::size_t first) {
    const auto line = [&](std::size_t k) -> const std::string& {
        return lineAt(lines, static_cast<std::ptrdiff_t>(first + k));
    };
    RuleFields fields;
    fields.weekDays = decodeWeekDays(line(0));
    fields.blockMode = line(1) == "0";
    fields.processes = readEntryList(line(2));
    fields.websites = readEntryList(line(3));
    return fields;
}

Lines encodeRuleFields(const RuleFields& fields) {
    return {encodeWeekDays(fields.weekDays), fields.blockMode ? "0" : "1", writeEntryList(fields.processes),
            writeEntryList(fields.websites)};
}

namespace {

// The entries there now, without those the user took away and with those the user added.
std::vector<std::string> reapplyEntries(const std::vector<std::string>& read,
                                        const std::vector<std::string>& edited,
                                        std::vector<std::string> now) {
    for (const std::string& entry : read) {
        if (std::ranges::find(edited, entry) == edited.end())
            std::erase(now, entry);
    }
    for (const std::string& entry : edited) {
        if (std::ranges::find(read, entry) == read.end() && std::ranges::find(now, entry) == now.end())
            now.push_back(entry);
    }
    return now;
}

} // namespace

Lines reapplyRuleFields(const RuleFields& read, const RuleFields& edited, const Lines& now,
                        std::size_t first) {
    if (decodeRuleFields(now, first) == read)
        return encodeRuleFields(edited);
    const auto line = [&](std::size_t k) -> const std::string& {
        return lineAt(now, static_cast<std::ptrdiff_t>(first + k));
    };
    Lines result{line(0), line(1), line(2), line(3)};
    if (edited.weekDays != read.weekDays) {
        WeekDays days = decodeWeekDays(line(0));
        for (std::size_t day = 0; day < days.size(); ++day) {
            if (edited.weekDays[day] != read.weekDays[day])
                days[day] = edited.weekDays[day];
        }
        result[0] = encodeWeekDays(days);
    }
    if (edited.blockMode != read.blockMode)
        result[1] = edited.blockMode ? "0" : "1";
    if (edited.processes != read.processes)
        result[2] = writeEntryList(reapplyEntries(read.processes, edited.processes, readEntryList(line(2))));
    if (edited.websites != read.websites)
        result[3] = writeEntryList(reapplyEntries(read.websites, edited.websites, readEntryList(line(3))));
    return result;
}

} // namespace tallowby::store
