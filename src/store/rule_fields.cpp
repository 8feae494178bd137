#include "store/rule_fields.h"

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

} // namespace tallowby::store
