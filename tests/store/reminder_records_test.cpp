// Reminder records and the shutdown settings of a reminder file.
#include <gtest/gtest.h>

#include "store/reminder_records.h"
#include "store/shutdown_settings.h"
#include "store/time_of_day.h"

namespace tallowby::store {
namespace {

const Lines kSettings{"0000000", "22:30", "1", "1", "1"};
constexpr WeekDays kEveryDay{true, true, true, true, true, true, true};

Lines withReminders(std::initializer_list<std::string> times) {
    Lines lines = kSettings;
    for (const auto& time : times)
        lines = addReminder(lines, {time, true, kEveryDay, "at " + time});
    return lines;
}

std::vector<std::string> timesOf(const Lines& lines) {
    std::vector<std::string> times;
    for (int i = 0; i < reminderCount(lines.size()); ++i)
        times.push_back(reminderRecord(lines, i).time);
    return times;
}

TEST(Reminders, CountCompleteRecordsAfterTheFiveSettingsLines) {
    const std::pair<std::size_t, int> cases[] = {{0, 0},  {4, 0},  {5, 0},  {8, 0}, {9, 1},
                                                 {10, 1}, {11, 1}, {12, 1}, {13, 2}};
    for (const auto& [lines, count] : cases)
        EXPECT_EQ(reminderCount(lines), count) << lines;
}

TEST(Reminders, AddAppendsFourLinesWithTheSubjectOnOneLine) {
    const Lines lines =
        addReminder(kSettings, {"07:05", false, {false, true}, "Stretch\r\nand\rdrink\nwater"});
    EXPECT_EQ(Lines(lines.begin() + 5, lines.end()),
              (Lines{"07:05", "0", "0100000", "Stretch and drink water"}));
    EXPECT_EQ(findReminder(lines, "07:05"), 0);
    EXPECT_EQ(findReminder(lines, "7:05"), -1); // the time key is compared as text
}

TEST(Reminders, AddRepairsAShortOrRaggedFileSoTheRecordReadsBack) {
    const Lines fromShort = addReminder({"0010010", "23:05"}, {"08:00", true, kEveryDay, "x"});
    EXPECT_EQ(Lines(fromShort.begin(), fromShort.begin() + 5), (Lines{"0010010", "23:05", "1", "1", "1"}));
    EXPECT_EQ(reminderRecord(fromShort, 0).subject, "x");

    Lines ragged = withReminders({"07:00"});
    ragged.push_back("stray");
    const Lines added = addReminder(ragged, {"09:00", true, kEveryDay, "y"});
    EXPECT_EQ(timesOf(added), (std::vector<std::string>{"07:00", "09:00"}));
    EXPECT_EQ(added.size(), 13u);
}

TEST(Reminders, RemoveTakesOutOneRecord) {
    const Lines lines = withReminders({"07:00", "08:00", "09:00"});
    EXPECT_EQ(timesOf(removeReminder(lines, 1)), (std::vector<std::string>{"07:00", "09:00"}));
    EXPECT_EQ(removeReminder(withReminders({"07:00"}), 0), kSettings);
    EXPECT_THROW(removeReminder(lines, 3), std::out_of_range);
    EXPECT_THROW(removeReminder(kSettings, 0), std::out_of_range);
}

TEST(Reminders, SaveChangesDaysSoundAndSubjectButNotTheTime) {
    const Lines lines = withReminders({"07:00", "08:00"});
    const Lines saved = saveReminder(lines, 1, false, {true}, "new\nsubject");
    const ReminderRecord record = reminderRecord(saved, 1);
    EXPECT_EQ(record.time, "08:00");
    EXPECT_FALSE(record.playSound);
    EXPECT_EQ(encodeWeekDays(record.weekDays), "1000000");
    EXPECT_EQ(record.subject, "new subject");
    EXPECT_EQ(Lines(saved.begin(), saved.begin() + 9), Lines(lines.begin(), lines.begin() + 9));
    EXPECT_THROW(saveReminder(lines, 2, true, kEveryDay, "x"), std::out_of_range);
}

TEST(SortReminders, OrdersByTimeOfDayStablyAndKeepsTheSettings) {
    Lines lines = withReminders({"22:30", "07:00", "12:15", "7:00"});
    lines.push_back("stray");
    const Lines sorted = sortReminders(lines);
    EXPECT_EQ(timesOf(sorted), (std::vector<std::string>{"07:00", "7:00", "12:15", "22:30"}));
    EXPECT_EQ(Lines(sorted.begin(), sorted.begin() + 5), kSettings);
    EXPECT_EQ(sorted.size(), 21u);
    EXPECT_EQ(reminderRecord(sorted, 3).subject, "at 22:30");
    EXPECT_EQ(sortReminders({"0"}), Lines{"0"});
}

TEST(SortReminders, RefusesAnUnreadableTime) {
    const Lines lines = withReminders({"07:00", "25:99"});
    EXPECT_THROW(sortReminders(lines), TimeFormatError);
}

TEST(Shutdown, SaveReplacesTheFiveSettingsLinesOnly) {
    const Lines lines = withReminders({"07:00"});
    const ShutdownSettings settings{
        {false, false, true, false, false, true, false}, "23:05", false, true, false};
    const Lines saved = saveShutdownSettings(lines, settings);
    EXPECT_EQ(Lines(saved.begin(), saved.begin() + 5), (Lines{"0010010", "23:05", "0", "1", "0"}));
    EXPECT_EQ(Lines(saved.begin() + 5, saved.end()), Lines(lines.begin() + 5, lines.end()));
    EXPECT_EQ(saveShutdownSettings({"1111111"}, settings).size(), 5u);
    EXPECT_EQ(saveShutdownSettings({}, settings).size(), 5u);
}

TEST(Shutdown, DecodesTheSettingsAsTheDialogShowsThem) {
    const ShutdownSettings read = shutdownSettings({"0100000", "06:15", "1", " 1", "yes"});
    EXPECT_EQ(encodeWeekDays(read.weekDays), "0100000");
    EXPECT_EQ(read.time, "06:15");
    EXPECT_TRUE(read.remindAhead);
    EXPECT_FALSE(read.playSound);
    EXPECT_FALSE(read.checkCodeToCancel);
    EXPECT_EQ(shutdownSettings({}).time, "");
}

TEST(Shutdown, CancelSetsLineZeroToASingleZero) {
    const Lines lines = withReminders({"07:00"});
    const Lines cancelled = cancelShutdown(lines);
    EXPECT_EQ(cancelled[0], "0");
    EXPECT_EQ(Lines(cancelled.begin() + 1, cancelled.end()), Lines(lines.begin() + 1, lines.end()));
    EXPECT_EQ(encodeWeekDays(shutdownSettings(cancelled).weekDays), "0000000");
    EXPECT_EQ(cancelShutdown({}), Lines{"0"});
}

} // namespace
} // namespace tallowby::store
