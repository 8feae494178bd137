#pragma once
// How the rules compare times. Every time is an integer count of milliseconds since local midnight;
// values are compared as they are, so a time before midnight (a session start minus ten minutes
// at 00:05) stays negative and is earlier than every time of day.
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/clock.h"
#include "store/week_days.h"

namespace tallowby::engine {

constexpr std::int64_t kTenMinutesMs = 10LL * 60 * 1000;

// -1 when a is earlier than b, +1 when later, 0 when they are less than one millisecond apart.
int CompareTimeOfDay(std::int64_t aMs, std::int64_t bMs);

// Which day a timed event falls on when it is due in the tick that starts at now.
enum class DueDay { NotDue, Today, Tomorrow };

// The tick that starts at nowMs covers [now, now + interval). Near midnight that window runs into the
// next day: its part past midnight is the start of tomorrow, so an event at 00:00 is due in the last
// tick of the day before. Negative times are never due.
DueDay DueThisTick(std::int64_t tMs, std::int64_t nowMs, std::int64_t intervalMs);

// The local date (days since 1970-01-01) of the one moment at tMs past a midnight that lies in
// [fromMs, toMs) of the local time line (localMs); nothing when none does, or when tMs is negative
// (a time before midnight is never due). The span may cross midnight and be up to a day long.
std::optional<std::int64_t> dueDate(std::int64_t tMs, std::int64_t fromMs, std::int64_t toMs);

// Week days are numbered 1 = Sunday ... 7 = Saturday.
int nextWeekDay(int weekDay);
// The week day days later (earlier when negative).
int weekDayAfter(int weekDay, std::int64_t days);

bool ScheduledToday(std::string_view weekDays, const LocalDateTime& now);

// The week day of the event at tMs when it is due in the tick that starts at now (tomorrow's for the
// part of the tick past midnight); 0 when it is not due.
int dueWeekDay(std::int64_t tMs, const LocalDateTime& now, std::int64_t intervalMs);

// Whether an event at tMs on the days weekDays selects is due in the tick that starts at now.
bool dueAndScheduled(std::int64_t tMs, std::string_view weekDays, const LocalDateTime& now,
                     std::int64_t intervalMs);
bool dueAndScheduled(std::int64_t tMs, const store::WeekDays& weekDays, const LocalDateTime& now,
                     std::int64_t intervalMs);

// A session is in its window when start <= now <= end, both ends included.
bool inSessionWindow(std::int64_t startMs, std::int64_t endMs, std::int64_t nowMs);

// The session start has just passed: start < now <= start + interval.
bool sessionStartJustPassed(std::int64_t startMs, std::int64_t nowMs, std::int64_t intervalMs);

} // namespace tallowby::engine
