#include "store/whole_day_record.h"

namespace tallowby::store {

WholeDayFields decodeWholeDay(const Lines& lines) {
    return decodeRuleFields(lines, 0);
}

Lines encodeWholeDay(const WholeDayFields& fields) {
    return encodeRuleFields(fields);
}

Lines changeWholeDay(const Lines& now, const WholeDayFields& read, const WholeDayFields& edited) {
    return reapplyRuleFields(read, edited, now, 0);
}

} // namespace tallowby::store
