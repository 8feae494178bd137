#pragma once
// Week-day strings: seven characters, Sunday first, "1" selects the day.
#include <array>
#include <string>
#include <string_view>

namespace tallowby::store {

// Index 0 is Sunday, 6 Saturday.
using WeekDays = std::array<bool, 7>;

// Whether the day weekDay (1 = Sunday ... 7 = Saturday) is selected: its character is "1". A
// position past the end of the string, or a day number outside 1-7, is not selected.
bool scheduledOn(std::string_view weekDayString, int weekDay);

// The seven days as a reader sees them (missing positions unselected).
WeekDays decodeWeekDays(std::string_view weekDayString);

// Seven characters, "1" or "0" each.
std::string encodeWeekDays(const WeekDays& days);

} // namespace tallowby::store
