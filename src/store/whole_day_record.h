#pragma once
// The whole-day file: one record of four lines (week days, process mode, process list, website
// list).
#include "store/rule_fields.h"
#include "store/text_file.h"

namespace tallowby::store {

using WholeDayFields = RuleFields;

// The record as the whole-day panel shows it; missing lines read as empty (so a missing mode line
// reads as Focus, like any mode but "0").
WholeDayFields decodeWholeDay(const Lines& lines);

// Exactly the four lines of the whole-day file.
Lines encodeWholeDay(const WholeDayFields& fields);

} // namespace tallowby::store
