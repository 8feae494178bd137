#pragma once
// A simulated clock over real instants that reads them as a time zone's wall clock through the C
// library and the system's time zone database (TZ, localtime_r), as the program's own clock does:
// the changes to and from summer time come exactly as they do on the machine. POSIX only.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "engine/clock.h"

namespace tallowby::engine::kit {

// Milliseconds since the epoch of a UTC date and time.
inline std::int64_t utcMs(int year, unsigned month, unsigned day, std::int64_t msOfDay) {
    using namespace std::chrono;
    const sys_days date(std::chrono::year(year) / month / day);
    return duration_cast<milliseconds>(date.time_since_epoch()).count() + msOfDay;
}

class ZonedSimClock : public Clock {
  public:
    // The zone holds for the whole process while the clock lives.
    ZonedSimClock(const char* zone, std::int64_t utcMs) : utc_(utcMs) {
        if (const char* before = std::getenv("TZ"))
            zoneBefore_ = before;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZonedSimClock() override {
        if (zoneBefore_)
            setenv("TZ", zoneBefore_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZonedSimClock(const ZonedSimClock&) = delete;
    ZonedSimClock& operator=(const ZonedSimClock&) = delete;

    LocalDateTime now() const override {
        const std::time_t seconds = static_cast<std::time_t>(utc_ / 1000);
        std::tm local{};
        localtime_r(&seconds, &local);
        LocalDateTime t;
        t.year = local.tm_year + 1900;
        t.month = local.tm_mon + 1;
        t.day = local.tm_mday;
        t.weekDay = local.tm_wday + 1;
        t.msOfDay = ((local.tm_hour * 60LL + local.tm_min) * 60 + local.tm_sec) * 1000 + utc_ % 1000;
        return t;
    }
    std::int64_t sinceBootMs() const override { return sinceBoot_; }

    // Real time passes, asleep or awake.
    void advance(std::int64_t ms) {
        utc_ += ms;
        sinceBoot_ += ms;
    }
    // The clock is set forward (back, when negative) while no time passes.
    void step(std::int64_t ms) { utc_ += ms; }

  private:
    std::int64_t utc_;
    std::int64_t sinceBoot_ = 0;
    std::optional<std::string> zoneBefore_;
};

} // namespace tallowby::engine::kit
