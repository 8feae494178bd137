#include "store/time_of_day.h"

#include <optional>

namespace tallowby::store {
namespace {

// The value of exactly two ASCII digits at text[pos], if both are there.
std::optional<int> twoDigits(std::string_view text, std::size_t pos) {
    if (pos + 2 > text.size())
        return std::nullopt;
    const char tens = text[pos];
    const char units = text[pos + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9')
        return std::nullopt;
    return (tens - '0') * 10 + (units - '0');
}

} // namespace

std::optional<std::int64_t> readTimeOfDay(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon != 1 && colon != 2)
        return std::nullopt;
    const bool oneDigitHour = colon == 1;
    int hours = 0;
    if (oneDigitHour) {
        if (text[0] < '0' || text[0] > '9')
            return std::nullopt;
        hours = text[0] - '0';
    } else {
        const auto value = twoDigits(text, 0);
        if (!value)
            return std::nullopt;
        hours = *value;
    }
    const auto minutes = twoDigits(text, colon + 1);
    if (!minutes)
        return std::nullopt;
    int seconds = 0;
    const std::size_t afterMinutes = colon + 3;
    if (text.size() != afterMinutes) {
        // Seconds only in the two-digit-hour form "HH:MM:SS".
        if (oneDigitHour || text.size() != afterMinutes + 3 || text[afterMinutes] != ':')
            return std::nullopt;
        const auto value = twoDigits(text, afterMinutes + 1);
        if (!value)
            return std::nullopt;
        seconds = *value;
    }
    if (hours > 23 || *minutes > 59 || seconds > 59)
        return std::nullopt;
    return ((hours * 60LL + *minutes) * 60 + seconds) * 1000;
}

TimeFormatError::TimeFormatError(std::string text)
    : std::runtime_error("Not a time of day: \"" + text + "\""), text_(std::move(text)) {}

std::int64_t parseTimeOfDay(std::string_view text) {
    if (const auto ms = readTimeOfDay(text))
        return *ms;
    throw TimeFormatError(std::string(text));
}

} // namespace tallowby::store
