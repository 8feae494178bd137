#pragma once
// The local wall clock, as the tick reads it.
#include <QDateTime>
#include <cstdint>

#include "engine/clock.h"
#include "platform/boot_clock.h"

namespace tallowby::ui {

// The date, the week day (1 = Sunday ... 7 = Saturday) and the milliseconds since midnight.
engine::LocalDateTime toLocalDateTime(const QDateTime& time);

// Milliseconds on the local wall clock's own time line (every day 24 hours long), for spans such as
// a pause's remaining time: the difference of two readings is what the clock face says passed.
std::int64_t wallClockMs(const engine::LocalDateTime& time);

// Seconds since the epoch at a time of the local wall clock's time line (localMs): the times the
// hosts file keeps locked sites until. A time a change of clocks skips counts from the hour after.
std::int64_t epochSeconds(std::int64_t localMs);

class SystemClock : public engine::Clock {
  public:
    engine::LocalDateTime now() const override { return toLocalDateTime(QDateTime::currentDateTime()); }
    std::int64_t sinceBootMs() const override { return platform::millisecondsSinceBoot(); }
};

} // namespace tallowby::ui
