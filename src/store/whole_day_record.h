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

// The four lines with the user's change (from read to edited) made on the file's lines as they are now.
Lines changeWholeDay(const Lines& now, const WholeDayFields& read, const WholeDayFields& edited);

} // namespace tallowby::store
