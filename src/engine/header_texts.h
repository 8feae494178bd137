#pragma once
// The clock and date texts of the main window's header.
#include <string>

#include "engine/clock.h"

namespace tallowby::engine {

// "hh-mm-ss" on the 24-hour clock.
std::string clockText(const LocalDateTime& now);

// "mm/dd/yyyy" followed by two spaces and the English day name.
std::string todayText(const LocalDateTime& now);

// "Sunday" ... "Saturday" for week days 1 to 7; empty for anything else.
std::string dayName(int weekDay);

} // namespace tallowby::engine
