#pragma once
// Reminder records of a reminder file: four lines each (time, play-sound flag, week days, subject)
// after the five lines of shutdown settings. Every operation returns the new file lines; the caller
// writes them and reloads.
#include <string>
#include <string_view>

#include "store/record_groups.h"
#include "store/text_file.h"
#include "store/week_days.h"

namespace tallowby::store {

inline constexpr RecordLayout kReminderLayout{5, 4};

// Complete records in a file of lineCount lines: (n - 5) / 4, and 0 below five lines; no more than are
// read (kMaxReminders).
int reminderCount(std::size_t lineCount);

struct ReminderRecord {
    std::string time; // the time key, "HH:MM", compared as text for duplicates
    bool playSound = true;
    WeekDays weekDays{};
    std::string subject;
};

// Record i as the editor shows it, its subject bounded. Throws std::out_of_range.
ReminderRecord reminderRecord(const Lines& lines, int i);

// The subject cut to kMaxSubjectBytes (at a character's start) and marked "..." where it is longer.
std::string boundedSubject(std::string_view subject);

// The record whose time key equals the text exactly, or -1.
int findReminder(const Lines& lines, std::string_view timeKey);

// The subject as it is stored: one line. Each line break (CR LF, CR or LF) becomes one blank, so
// the words on either side stay apart and later records do not shift.
std::string oneLineSubject(std::string_view subject);

// All current lines, then the new record. Missing settings lines (a file of fewer than five lines)
// are first filled in from a new profile's, and a trailing incomplete group is dropped, so the new
// record is always read back as the last one.
Lines addReminder(Lines lines, const ReminderRecord& record);

// Without record i; a trailing incomplete group stays. Throws std::out_of_range.
Lines removeReminder(Lines lines, int i);

// Record i with new sound flag, days and subject (lines 6+4i to 8+4i); its time stays. Throws
// std::out_of_range.
Lines saveReminder(Lines lines, int i, bool playSound, const WeekDays& weekDays, std::string_view subject);

// Lines 0-4 as they are, then the records in ascending order of time of day; records at the same
// time keep their order; a trailing incomplete group is dropped. Throws TimeFormatError naming a
// time that cannot be read (the caller then leaves the file as it was).
Lines sortReminders(const Lines& lines);

} // namespace tallowby::store
