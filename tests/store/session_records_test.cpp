// Session and whole-day records.
#include <gtest/gtest.h>

#include "store/entry_list.h"
#include "store/profile_defaults.h"
#include "store/reminder_records.h"
#include "store/rule_limits.h"
#include "store/session_records.h"
#include "store/time_of_day.h"
#include "store/whole_day_record.h"

namespace tallowby::store {
namespace {

Lines session(const std::string& start, const std::string& end, const std::string& tag) {
    return {start, end, "1111111", "0", tag + ".exe;", tag + ".com;"};
}

Lines concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Two sessions and a stray 13th line.
const Lines kThirteen =
    concat({session("13:00", "14:00", "late"), session("08:30", "09:00", "early"), {"stray"}});

TEST(Sessions, CountOnlyCompleteGroupsOfSix) {
    EXPECT_EQ(sessionCount(0), 0);
    EXPECT_EQ(sessionCount(5), 0);
    EXPECT_EQ(sessionCount(6), 1);
    EXPECT_EQ(sessionCount(13), 2);
    EXPECT_EQ(sessionCaption(kThirteen, 1), "08:30-09:00");
    EXPECT_THROW(sessionCaption(kThirteen, 2), std::out_of_range);
}

TEST(Sessions, AppendAddsANewRecordWithEveryDayBlockAndEmptyLists) {
    EXPECT_EQ(appendSession({}, "09:00", "12:00"), (Lines{"09:00", "12:00", "1111111", "0", "", ""}));
    // A stray line would shift the new record; it belongs to no record and is dropped.
    const Lines added = appendSession(kThirteen, "18:00", "19:00");
    EXPECT_EQ(added.size(), 18u);
    EXPECT_EQ(sessionCaption(added, 2), "18:00-19:00");
}

TEST(Sessions, SaveAndDeleteKeepATrailingIncompleteGroup) {
    SessionFields fields;
    fields.weekDays = {false, true, false, false, false, false, true};
    fields.blockMode = false;
    fields.processes = {"notepad.exe"};
    const Lines saved = saveSessionFields(kThirteen, 1, fields);
    EXPECT_EQ(Lines(saved.begin() + 6, saved.end()),
              (Lines{"08:30", "09:00", "0100001", "1", "notepad.exe;", "", "stray"}));
    EXPECT_EQ(sessionFields(saved, 1).processes, fields.processes);
    EXPECT_EQ(deleteSession(kThirteen, 0), concat({session("08:30", "09:00", "early"), {"stray"}}));
    EXPECT_THROW(saveSessionFields(kThirteen, 2, fields), std::out_of_range);
    EXPECT_THROW(deleteSession(kThirteen, -1), std::out_of_range);
}

TEST(Sessions, DeletingTheOnlyRecordOrClearingLeavesAnEmptyFile) {
    EXPECT_EQ(deleteSession(session("09:00", "10:00", "a"), 0), Lines{});
    EXPECT_EQ(clearSessions(), Lines{});
}

TEST(Sessions, PanelReadsOnlyModeZeroAsBlock) {
    Lines lines = session("09:00", "10:00", "a");
    for (const char* mode : {"1", "2", ""}) {
        lines[3] = mode;
        EXPECT_FALSE(sessionFields(lines, 0).blockMode) << mode;
    }
    lines[3] = "0";
    EXPECT_TRUE(sessionFields(lines, 0).blockMode);
}

TEST(SortSessions, OrdersByStartTimeEachOnceAndDropsTheStrayLine) {
    const Lines three = concat(
        {session("13:00", "14:00", "c"), session("08:30", "09:00", "a"), session("10:00", "11:00", "b")});
    EXPECT_EQ(sortSessions(three), concat({session("08:30", "09:00", "a"), session("10:00", "11:00", "b"),
                                           session("13:00", "14:00", "c")}));
    EXPECT_EQ(sortSessions(kThirteen),
              concat({session("08:30", "09:00", "early"), session("13:00", "14:00", "late")}));
    EXPECT_EQ(sortSessions({}), Lines{});
}

TEST(SortSessions, KeepsFileOrderOfEqualTimesWrittenDifferently) {
    const Lines lines = concat({session("9:00", "9:30", "first"), session("09:00", "09:30", "second"),
                                session("08:00", "08:30", "early")});
    EXPECT_EQ(sortSessions(lines),
              concat({session("08:00", "08:30", "early"), session("9:00", "9:30", "first"),
                      session("09:00", "09:30", "second")}));
}

TEST(SortSessions, RefusesAnUnreadableStartTime) {
    const Lines lines = concat({session("10:00", "11:00", "a"), session("9.30", "10:00", "b")});
    try {
        sortSessions(lines);
        FAIL() << "sorted";
    } catch (const TimeFormatError& e) {
        EXPECT_EQ(e.text(), "9.30");
    }
}

TEST(WholeDay, DecodesMissingLinesAsEmptyAndEncodesFourLines) {
    const WholeDayFields partial = decodeWholeDay({"1000001"});
    EXPECT_EQ(partial.weekDays, (WeekDays{true, false, false, false, false, false, true}));
    EXPECT_FALSE(partial.blockMode);
    EXPECT_TRUE(partial.processes.empty());
    EXPECT_TRUE(partial.websites.empty());

    const Lines full{"0111110", "0", "game.exe;chat.exe;", "news.example;"};
    const WholeDayFields decoded = decodeWholeDay(full);
    EXPECT_TRUE(decoded.blockMode);
    EXPECT_EQ(decoded.websites, std::vector<std::string>{"news.example"});
    EXPECT_EQ(encodeWholeDay(decoded), full);
}

TEST(ProfileDefaults, AreTheContentsOfANewProfile) {
    EXPECT_EQ(newWholeDayLines(), (Lines{"0000000", "0", "", ""}));
    EXPECT_EQ(newSessionLines(), Lines{});
    EXPECT_EQ(newReminderLines(), (Lines{"0000000", "22:30", "1", "1", "1"}));
}

} // namespace
} // namespace tallowby::store

namespace tallowby::store {
namespace {

TEST(RuleLimits, NoMoreIsReadThanTheBoundsAllowAndASubjectIsCutWhole) {
    EXPECT_EQ(sessionCount(6 * kMaxSessions), kMaxSessions);
    EXPECT_EQ(sessionCount(6 * kMaxSessions + 6), kMaxSessions);
    EXPECT_EQ(reminderCount(5 + 4 * kMaxReminders + 4), kMaxReminders);
    std::string list;
    for (std::size_t i = 0; i <= kMaxListEntries; ++i)
        list += "p" + std::to_string(i) + ";";
    const std::vector<std::string> read = readEntryList(list);
    ASSERT_EQ(read.size(), kMaxListEntries);
    EXPECT_EQ(read.back(), "p" + std::to_string(kMaxListEntries - 1));

    EXPECT_EQ(boundedSubject(std::string(kMaxSubjectBytes, 'a')), std::string(kMaxSubjectBytes, 'a'));
    // "ü" is two bytes; the one across the bound is left out whole.
    const std::string subject = std::string(kMaxSubjectBytes - 1, 'a') + "\xc3\xbc" + "tail";
    EXPECT_EQ(boundedSubject(subject), std::string(kMaxSubjectBytes - 1, 'a') + "...");
}

} // namespace
} // namespace tallowby::store

namespace tallowby::store {
namespace {

// The panel's change to a session, from the record as read to the record as the panel has it, made
// on the file as a hand edit left it: only the day, mode and entries the user changed.
TEST(SessionRecords, AChangeIsMadeOnTheSessionAsTheFileHasItNow) {
    const Lines read{"09:00", "10:00", "0100000", "0", "code.exe;", "news.example;"};
    const Lines now{"08:00",
                    "08:30",
                    "1111111",
                    "0",
                    "",
                    "",
                    "09:00",
                    "10:00",
                    "0100001",
                    "1",
                    "code.exe;chat.exe;",
                    "news.example;"};
    SessionFields edited = sessionFields(read, 0);
    edited.weekDays[2] = true;                     // Tuesday ticked
    edited.websites.emplace_back("video.example"); // a website added
    std::erase(edited.processes, "code.exe");      // a program taken away
    const int at = findSession(now, 0, "09:00", "10:00");
    ASSERT_EQ(at, 1);
    EXPECT_EQ(changeSessionFields(now, at, sessionFields(read, 0), edited),
              (Lines{"08:00", "08:30", "1111111", "0", "", "", "09:00", "10:00", "0110001", "1", "chat.exe;",
                     "news.example;video.example;"}));
    // Unchanged by hand, the record is the panel's as it always was.
    EXPECT_EQ(changeSessionFields(read, 0, sessionFields(read, 0), edited),
              (Lines{"09:00", "10:00", "0110000", "0", "", "news.example;video.example;"}));
    EXPECT_EQ(findSession(now, 0, "11:00", "12:00"), -1);
}

} // namespace
} // namespace tallowby::store
