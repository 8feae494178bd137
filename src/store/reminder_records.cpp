#include "store/reminder_records.h"

#include <algorithm>

#include "store/line_values.h"
#include "store/profile_defaults.h"
#include "store/rule_limits.h"

namespace tallowby::store {
namespace {

constexpr std::size_t kTime = 0;
constexpr std::size_t kSound = 1;
constexpr std::size_t kDays = 2;
constexpr std::size_t kSubject = 3;

} // namespace

int reminderCount(std::size_t lineCount) {
    return std::min(recordCount(kReminderLayout, lineCount), kMaxReminders);
}

ReminderRecord reminderRecord(const Lines& lines, int i) {
    const std::size_t first = recordLine(kReminderLayout, lines, i, kTime);
    return {lines[first + kTime], isOn(lines[first + kSound]), decodeWeekDays(lines[first + kDays]),
            boundedSubject(lines[first + kSubject])};
}

std::string boundedSubject(std::string_view subject) {
    return boundedText(subject, kMaxSubjectBytes);
}

int findReminder(const Lines& lines, std::string_view timeKey) {
    const int count = reminderCount(lines.size());
    for (int i = 0; i < count; ++i) {
        if (lines[recordLine(kReminderLayout, lines, i, kTime)] == timeKey)
            return i;
    }
    return -1;
}

std::string oneLineSubject(std::string_view subject) {
    std::string line;
    line.reserve(subject.size());
    for (std::size_t i = 0; i < subject.size(); ++i) {
        const char c = subject[i];
        if (c == '\r' || c == '\n') {
            line += ' ';
            if (c == '\r' && i + 1 < subject.size() && subject[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    return line;
}

Lines addReminder(Lines lines, const ReminderRecord& record) {
    const Lines defaults = newReminderLines();
    for (std::size_t k = lines.size(); k < kReminderLayout.first; ++k)
        lines.push_back(defaults[k]);
    lines = dropIncompleteRecord(kReminderLayout, std::move(lines));
    lines.insert(lines.end(), {record.time, flagText(record.playSound), encodeWeekDays(record.weekDays),
                               oneLineSubject(record.subject)});
    return lines;
}

Lines removeReminder(Lines lines, int i) {
    return eraseRecord(kReminderLayout, std::move(lines), i);
}

Lines saveReminder(Lines lines, int i, bool playSound, const WeekDays& weekDays, std::string_view subject) {
    const std::size_t first = recordLine(kReminderLayout, lines, i, kTime);
    lines[first + kSound] = flagText(playSound);
    lines[first + kDays] = encodeWeekDays(weekDays);
    lines[first + kSubject] = oneLineSubject(subject);
    return lines;
}

Lines sortReminders(const Lines& lines) {
    return sortRecordsByTime(kReminderLayout, lines);
}

} // namespace tallowby::store
