#pragma once
// A local clock driven by hand: tests, the fuzz target and the benchmarks set it and move it on. The
// date and week day roll over at midnight.
#include <algorithm>
#include <chrono>
#include <cstdint>

#include "engine/clock.h"
#include "store/time_of_day.h"

namespace tallowby::engine::kit {

constexpr std::int64_t hms(int hours, int minutes, int seconds = 0, int ms = 0) {
    return ((hours * 60LL + minutes) * 60 + seconds) * 1000 + ms;
}

inline LocalDateTime localDateTime(std::chrono::sys_days date, std::int64_t msOfDay) {
    const std::chrono::year_month_day ymd(date);
    LocalDateTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.weekDay = static_cast<int>(std::chrono::weekday(date).c_encoding()) + 1;
    t.msOfDay = msOfDay;
    return t;
}

// 2026-12-07 is a Monday.
inline LocalDateTime at(int year, int month, int day, std::int64_t msOfDay) {
    using namespace std::chrono;
    return localDateTime(sys_days(std::chrono::year(year) / month / day), msOfDay);
}

// Moving the clock forward lets that much real time pass (sinceBootMs with it): a tick a second
// later, or a sleep; moving it back is a wall clock set back. step() sets the wall clock alone.
class SimClock : public Clock {
  public:
    explicit SimClock(LocalDateTime start = at(2026, 12, 7, 0)) : now_(start) {}

    LocalDateTime now() const override { return now_; }
    std::int64_t sinceBootMs() const override { return sinceBoot_; }

    void set(const LocalDateTime& t) {
        sinceBoot_ += std::max<std::int64_t>(localMs(t) - localMs(now_), 0);
        now_ = t;
    }
    // Another time on the same date.
    void setTime(std::int64_t msOfDay) {
        LocalDateTime t = now_;
        t.msOfDay = msOfDay;
        set(t);
    }

    void advance(std::int64_t ms) {
        sinceBoot_ += std::max<std::int64_t>(ms, 0);
        step(ms);
    }

    // The wall clock is set forward (or back, when negative) while no time passes.
    void step(std::int64_t ms) {
        using namespace std::chrono;
        const std::int64_t total = now_.msOfDay + ms;
        std::int64_t days = total / store::kMsPerDay;
        std::int64_t rest = total % store::kMsPerDay;
        if (rest < 0) {
            rest += store::kMsPerDay;
            --days;
        }
        const sys_days today(std::chrono::year(now_.year) / now_.month / now_.day);
        now_ = localDateTime(today + std::chrono::days(days), rest);
    }

  private:
    LocalDateTime now_;
    std::int64_t sinceBoot_ = 0;
};

} // namespace tallowby::engine::kit

namespace tallowby::engine::kit {

// Monday 7 December 2026 at the given time: the day the window tests live on.
inline LocalDateTime monday(int hour, int minute, int second = 0, int ms = 0) {
    return at(2026, 12, 7, hms(hour, minute, second, ms));
}

} // namespace tallowby::engine::kit

namespace tallowby::test {
using engine::kit::monday;
using engine::kit::SimClock;
} // namespace tallowby::test
