#include "store/week_days.h"

namespace tallowby::store {

bool scheduledOn(std::string_view weekDayString, int weekDay) {
    if (weekDay < 1 || static_cast<std::size_t>(weekDay) > weekDayString.size())
        return false;
    return weekDayString[static_cast<std::size_t>(weekDay) - 1] == '1';
}

WeekDays decodeWeekDays(std::string_view weekDayString) {
    WeekDays days{};
    for (int day = 1; day <= 7; ++day)
        days[static_cast<std::size_t>(day) - 1] = scheduledOn(weekDayString, day);
    return days;
}

std::string encodeWeekDays(const WeekDays& days) {
    std::string text;
    for (const bool selected : days)
        text += selected ? '1' : '0';
    return text;
}

} // namespace tallowby::store
