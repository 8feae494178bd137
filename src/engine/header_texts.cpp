#include "engine/header_texts.h"

#include <array>
#include <cstdio>

namespace tallowby::engine {

std::string clockText(const LocalDateTime& now) {
    const long long seconds = now.msOfDay / 1000;
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%02lld-%02lld-%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text.data();
}

std::string todayText(const LocalDateTime& now) {
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%02d/%02d/%04d  ", now.month, now.day, now.year);
    return text.data() + dayName(now.weekDay);
}

std::string dayName(int weekDay) {
    static const std::array<const char*, 7> names{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
    if (weekDay < 1 || weekDay > 7) {
        return {};
    }
    return names[static_cast<std::size_t>(weekDay) - 1];
}

} // namespace tallowby::engine
