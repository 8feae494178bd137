// Reminders and the automatic shutdown: the tick's alarm steps.
#include "engine/record_lines.h"
#include "engine/tick_steps.h"
#include "engine/time_rules.h"
#include "store/line_values.h"
#include "store/reminder_records.h"
#include "store/time_of_day.h"
#include "store/week_days.h"

#include <optional>
#include <string>
#include <vector>

namespace tallowby::engine {

namespace {

// Reminders due in the same tick get a pop-up each up to this many; the rest share one more, so a
// list with hundreds due at the same minute cannot bury the window under pop-ups.
constexpr int kSeparateReminderPopUps = 4;
// The subjects the shared pop-up names; it counts the others.
constexpr std::size_t kSubjectsInSharedPopUp = 10;

struct DueReminder {
    store::ReminderRecord record;
    std::string alarm; // what FiredAlarms knows it by
    std::int64_t day;
};

// The reminder when it is due in this tick on one of its days and has not fired for that day.
std::optional<DueReminder> dueReminder(const TickContext& tick, int index) {
    store::ReminderRecord reminder = store::reminderRecord(tick.lists().ReminderLines, index);
    const std::optional<std::int64_t> time = store::readTimeOfDay(reminder.time);
    const std::optional<std::int64_t> day = time ? tick.dueOn(*time) : std::nullopt;
    if (!day || !reminder.weekDays[static_cast<std::size_t>(tick.weekDayOn(*day)) - 1])
        return std::nullopt;
    std::string alarm = "reminder " + std::to_string(index) + " " + reminder.time + " " + reminder.subject;
    if (tick.state.fired.firedOn(alarm, *day))
        return std::nullopt;
    return DueReminder{std::move(reminder), std::move(alarm), *day};
}

std::string reminderCaption(const store::ReminderRecord& reminder) {
    return "Reminder - It's time " + reminder.time;
}

// One pop-up for every reminder due from this one on.
void showSharedReminders(const TickContext& tick, const store::ReminderRecord& first, int from) {
    std::vector<store::ReminderRecord> due;
    for (int i = from; i < reminderCount(tick.lists()); ++i) {
        if (std::optional<DueReminder> reminder = dueReminder(tick, i)) {
            tick.state.fired.markFired(reminder->alarm, reminder->day);
            due.push_back(std::move(reminder->record));
        }
    }
    std::string subjects = std::to_string(due.size()) + " more reminders are due now:";
    bool sound = false;
    for (std::size_t i = 0; i < due.size(); ++i) {
        sound = sound || due[i].playSound;
        if (i < kSubjectsInSharedPopUp)
            subjects += "\n" + due[i].subject;
    }
    if (due.size() > kSubjectsInSharedPopUp)
        subjects += "\n... and " + std::to_string(due.size() - kSubjectsInSharedPopUp) + " more.";
    tick.state.AlarmSoundFlag = sound;
    tick.actions.showReminder(reminderCaption(first), subjects);
}

} // namespace

void runReminders(const TickContext& tick) {
    int shown = 0;
    // The count is read again after every pop-up: closing one may have reloaded the list.
    for (int i = 0; i < reminderCount(tick.lists()); ++i) {
        const std::optional<DueReminder> reminder = dueReminder(tick, i);
        if (!reminder)
            continue;
        if (shown == kSeparateReminderPopUps) {
            showSharedReminders(tick, reminder->record, i);
            return;
        }
        ++shown;
        // Before the pop-up: the ticks that run while it is open must not fire it again.
        tick.state.fired.markFired(reminder->alarm, reminder->day);
        tick.state.AlarmSoundFlag = reminder->record.playSound;
        tick.actions.showReminder(reminderCaption(reminder->record), reminder->record.subject);
    }
}

namespace {

// The date of the shutdown whose warning is due in this tick. A shutdown in the first ten minutes of
// a day is warned of at the end of the day before.
std::optional<std::int64_t> warningFor(std::int64_t shutdownTime, const TickContext& tick) {
    const std::int64_t warnAt = shutdownTime - kTenMinutesMs;
    if (warnAt >= 0)
        return tick.dueOn(warnAt);
    const std::optional<std::int64_t> eveningBefore = tick.dueOn(warnAt + store::kMsPerDay);
    return eveningBefore ? std::optional<std::int64_t>(*eveningBefore + 1) : std::nullopt;
}

// Whether the shutdown or its warning, due on day, falls on a day the week days select and fires for
// the first time that day.
bool firesOn(const TickContext& tick, const std::string& days, const std::string& alarm,
             std::optional<std::int64_t> day) {
    return day && store::scheduledOn(days, tick.weekDayOn(*day)) && tick.firstFiring(alarm, *day);
}

} // namespace

void runAutomaticShutdown(const TickContext& tick) {
    const store::Lines& settings = tick.lists().ReminderLines;
    const std::string warnDays = store::lineAt(settings, 0);
    const std::string warnTimeText = store::lineAt(settings, 1);
    const std::optional<std::int64_t> warnTime = store::readTimeOfDay(warnTimeText);
    if (warnTime &&
        firesOn(tick, warnDays, "shutdown warning " + warnTimeText, warningFor(*warnTime, tick))) {
        tick.state.AlarmSoundFlag = store::isOn(store::lineAt(settings, 3));
        tick.actions.showShutdownWarning("Reminder for shutdown at " + warnTimeText);
    }
    // Read again after the warning: cancelling it rewrites the week days so that no day is selected.
    const std::string days = store::lineAt(tick.lists().ReminderLines, 0);
    const std::string timeText = store::lineAt(tick.lists().ReminderLines, 1);
    const std::optional<std::int64_t> time = store::readTimeOfDay(timeText);
    if (time && firesOn(tick, days, "shutdown " + timeText, tick.dueOn(*time))) {
        tick.actions.startShutdown();
    }
}

} // namespace tallowby::engine
