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

std::optional<store::ReminderRecord> dueReminder(const TickContext& tick, int index) {
    store::ReminderRecord reminder = store::reminderRecord(tick.lists().ReminderLines, index);
    const std::optional<std::int64_t> time = store::readTimeOfDay(reminder.time);
    const int day = time ? tick.dueDay(*time) : 0;
    if (day == 0 || !reminder.weekDays[static_cast<std::size_t>(day) - 1])
        return std::nullopt;
    return reminder;
}

std::string reminderCaption(const store::ReminderRecord& reminder) {
    return "Reminder - It's time " + reminder.time;
}

// One pop-up for every reminder due from this one on.
void showSharedReminders(const TickContext& tick, const store::ReminderRecord& first, int from) {
    std::vector<store::ReminderRecord> due;
    for (int i = from; i < reminderCount(tick.lists()); ++i) {
        if (std::optional<store::ReminderRecord> reminder = dueReminder(tick, i))
            due.push_back(std::move(*reminder));
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
        const std::optional<store::ReminderRecord> reminder = dueReminder(tick, i);
        if (!reminder)
            continue;
        if (shown == kSeparateReminderPopUps) {
            showSharedReminders(tick, *reminder, i);
            return;
        }
        ++shown;
        tick.state.AlarmSoundFlag = reminder->playSound;
        tick.actions.showReminder(reminderCaption(*reminder), reminder->subject);
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
