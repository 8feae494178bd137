#pragma once
// The local date and time as the rules see it, and a count of real time beside it. The engine never
// reads the system clock itself: the window's timer passes a Clock in, tests pass a simulated one.
#include <cstdint>

#include "store/time_of_day.h"

namespace tallowby::engine {

struct LocalDateTime {
    int year = 2000;
    int month = 1;            // 1-12
    int day = 1;              // 1-31
    int weekDay = 7;          // 1 = Sunday ... 7 = Saturday
    std::int64_t msOfDay = 0; // milliseconds since local midnight, 0 .. 86 399 999
};

// Days from 1970-01-01 to the date (proleptic Gregorian calendar), negative before it.
constexpr std::int64_t daysSinceEpoch(const LocalDateTime& t) {
    const std::int64_t y = t.year - (t.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (t.month + (t.month > 2 ? -3 : 9)) + 2) / 5 + t.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The local date and time as one count of milliseconds, for measuring spans across midnight.
constexpr std::int64_t localMs(const LocalDateTime& t) {
    return daysSinceEpoch(t) * store::kMsPerDay + t.msOfDay;
}

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    // Milliseconds of real time since some fixed moment (the start of the system), counting the
    // time the machine was asleep, and never moved when the wall clock is set or changes to or from
    // summer time. Between two readings it tells what the wall clock did: the two went on together
    // through a sleep, the wall clock alone moved when it was set.
    virtual std::int64_t sinceBootMs() const = 0;
};

} // namespace tallowby::engine
