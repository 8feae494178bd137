// Reminders and the automatic shutdown: the tick's alarm steps.
#include "engine/record_lines.h"
#include "engine/tick_steps.h"
#include "engine/time_rules.h"
#include "store/line_values.h"
#include "store/reminder_records.h"
#include "store/time_of_day.h"
#include "store/week_days.h"

namespace tallowby::engine {

void runReminders(const TickContext& tick) {
    // The count is read again after every pop-up: closing one may have reloaded the list.
    for (int i = 0; i < reminderCount(tick.lists()); ++i) {
        const store::ReminderRecord reminder = store::reminderRecord(tick.lists().ReminderLines, i);
        const std::optional<std::int64_t> time = store::readTimeOfDay(reminder.time);
        const int day = time ? tick.dueDay(*time) : 0;
        if (day == 0 || !reminder.weekDays[static_cast<std::size_t>(day) - 1]) {
            continue;
        }
        tick.state.AlarmSoundFlag = reminder.playSound;
        tick.actions.showReminder("Reminder - It's time " + reminder.time, reminder.subject);
    }
}

namespace {

// The week day of the shutdown whose warning is due in this tick, 0 for none. A shutdown in the
// first ten minutes of a day is warned of at the end of the day before.
int warningFor(std::int64_t shutdownTime, const TickContext& tick) {
    const std::int64_t warnAt = shutdownTime - kTenMinutesMs;
    if (warnAt >= 0)
        return tick.dueDay(warnAt);
    const int eveningBefore = tick.dueDay(warnAt + store::kMsPerDay);
    return eveningBefore == 0 ? 0 : nextWeekDay(eveningBefore);
}

} // namespace

void runAutomaticShutdown(const TickContext& tick) {
    const store::Lines& settings = tick.lists().ReminderLines;
    const std::string warnDays = store::lineAt(settings, 0);
    const std::string warnTimeText = store::lineAt(settings, 1);
    const std::optional<std::int64_t> warnTime = store::readTimeOfDay(warnTimeText);
    if (warnTime && store::scheduledOn(warnDays, warningFor(*warnTime, tick))) {
        tick.state.AlarmSoundFlag = store::isOn(store::lineAt(settings, 3));
        tick.actions.showShutdownWarning("Reminder for shutdown at " + warnTimeText);
    }
    // Read again after the warning: cancelling it rewrites the week days so that no day is selected.
    const std::string days = store::lineAt(tick.lists().ReminderLines, 0);
    const std::optional<std::int64_t> time =
        store::readTimeOfDay(store::lineAt(tick.lists().ReminderLines, 1));
    if (time && store::scheduledOn(days, tick.dueDay(*time))) {
        tick.actions.startShutdown();
    }
}

} // namespace tallowby::engine
