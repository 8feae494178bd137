#pragma once
// The texts of the two session notices. CR ("\r") breaks the lines inside a message.
#include <string>

#include "engine/record_lines.h"

namespace tallowby::engine {

// The notice ten minutes before a session. wholeDay is given on days the whole-day rules select and
// adds their part after an empty line; nullptr leaves it out.
std::string PreSessionNoticeText(const SessionRecord& session, const WholeDayRecord* wholeDay);

// The notice when a session ends.
std::string SessionEndNoticeText(const SessionRecord& session, const WholeDayRecord* wholeDay);

} // namespace tallowby::engine
