#include "engine/time_rules.h"

#include "store/time_of_day.h"
#include "store/week_days.h"

namespace tallowby::engine {

int CompareTimeOfDay(std::int64_t aMs, std::int64_t bMs) {
    if (aMs < bMs) {
        return -1;
    }
    return aMs > bMs ? 1 : 0;
}

DueDay DueThisTick(std::int64_t tMs, std::int64_t nowMs, std::int64_t intervalMs) {
    if (tMs < 0 || intervalMs <= 0) {
        return DueDay::NotDue;
    }
    const std::int64_t windowEnd = nowMs + intervalMs;
    if (CompareTimeOfDay(nowMs, tMs) != 1 && CompareTimeOfDay(tMs, windowEnd) == -1) {
        return DueDay::Today;
    }
    if (CompareTimeOfDay(tMs, windowEnd - store::kMsPerDay) == -1) {
        return DueDay::Tomorrow;
    }
    return DueDay::NotDue;
}

std::optional<std::int64_t> dueDate(std::int64_t tMs, std::int64_t fromMs, std::int64_t toMs) {
    if (tMs < 0) {
        return std::nullopt;
    }
    // The first day whose moment tMs is not before fromMs (the division rounds towards minus infinity).
    const std::int64_t span = fromMs - tMs + store::kMsPerDay - 1;
    const std::int64_t day = span / store::kMsPerDay - (span % store::kMsPerDay < 0 ? 1 : 0);
    if (day * store::kMsPerDay + tMs >= toMs) {
        return std::nullopt;
    }
    return day;
}

int nextWeekDay(int weekDay) {
    return weekDay % 7 + 1;
}

int weekDayAfter(int weekDay, std::int64_t days) {
    const std::int64_t shifted = (weekDay - 1 + days) % 7;
    return static_cast<int>(shifted < 0 ? shifted + 7 : shifted) + 1;
}

bool ScheduledToday(std::string_view weekDays, const LocalDateTime& now) {
    return store::scheduledOn(weekDays, now.weekDay);
}

int dueWeekDay(std::int64_t tMs, const LocalDateTime& now, std::int64_t intervalMs) {
    const std::int64_t from = localMs(now);
    const std::optional<std::int64_t> day = dueDate(tMs, from, from + intervalMs);
    return day ? weekDayAfter(now.weekDay, *day - daysSinceEpoch(now)) : 0;
}

bool dueAndScheduled(std::int64_t tMs, std::string_view weekDays, const LocalDateTime& now,
                     std::int64_t intervalMs) {
    return store::scheduledOn(weekDays, dueWeekDay(tMs, now, intervalMs));
}

bool dueAndScheduled(std::int64_t tMs, const store::WeekDays& weekDays, const LocalDateTime& now,
                     std::int64_t intervalMs) {
    const int day = dueWeekDay(tMs, now, intervalMs);
    return day >= 1 && day <= 7 && weekDays[static_cast<std::size_t>(day) - 1];
}

bool inSessionWindow(std::int64_t startMs, std::int64_t endMs, std::int64_t nowMs) {
    return CompareTimeOfDay(startMs, nowMs) != 1 && CompareTimeOfDay(endMs, nowMs) != -1;
}

bool sessionStartJustPassed(std::int64_t startMs, std::int64_t nowMs, std::int64_t intervalMs) {
    const std::int64_t startEnd = startMs + intervalMs;
    return CompareTimeOfDay(nowMs + intervalMs, startEnd) == 1 && CompareTimeOfDay(nowMs, startEnd) != 1;
}

} // namespace tallowby::engine
