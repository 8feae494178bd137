#pragma once
// Times of day as the rule files store them ("HH:MM").
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tallowby::store {

constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;

// A stored time that cannot be read as a time of day. what() names the text.
class TimeFormatError : public std::runtime_error {
  public:
    explicit TimeFormatError(std::string text);
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

// Milliseconds since midnight of "H:MM", "HH:MM" or "HH:MM:SS" (hours 0-23, minutes and seconds
// 0-59). Throws TimeFormatError for anything else ("25:99", "", "9.30", "12:5").
std::int64_t parseTimeOfDay(std::string_view text);

// The same, with nothing for a text that cannot be read: for readers that skip the one record and
// go on with the rest.
std::optional<std::int64_t> readTimeOfDay(std::string_view text);

} // namespace tallowby::store
