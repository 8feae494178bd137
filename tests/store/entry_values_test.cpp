// Values inside lines: entry lists, flags, week days and configuration lines.
#include <gtest/gtest.h>

#include "store/config_lines.h"
#include "store/entry_list.h"
#include "store/line_values.h"
#include "store/week_days.h"

namespace tallowby::store {
namespace {

using Names = std::vector<std::string>;

TEST(EntryList, ReadsEveryNonEmptyEntryFollowedBySemicolon) {
    EXPECT_EQ(readEntryList("notepad.exe;chrome.exe;"), (Names{"notepad.exe", "chrome.exe"}));
    EXPECT_EQ(readEntryList("notepad.exe"), Names{});
    EXPECT_EQ(readEntryList("vlc;notepad.exe;"), (Names{"vlc", "notepad.exe"}));
    EXPECT_EQ(readEntryList("abcd;ab;longer.exe;"), (Names{"abcd", "ab", "longer.exe"}));
    EXPECT_EQ(readEntryList("abcd;;efgh;;;"), (Names{"abcd", "efgh"}));
    EXPECT_EQ(readEntryList("example.com;trailing"), Names{"example.com"});
    EXPECT_EQ(readEntryList(""), Names{});
    EXPECT_EQ(readEntryList(" a b;\xe4\xf6\xfc\xdf;"), (Names{" a b", "\xe4\xf6\xfc\xdf"}));
}

TEST(EntryList, WritesEveryEntryFollowedBySemicolonAndReadsBack) {
    EXPECT_EQ(writeEntryList({}), "");
    const Names names{"example.com", "www.example.org"};
    EXPECT_EQ(writeEntryList(names), "example.com;www.example.org;");
    EXPECT_EQ(readEntryList(writeEntryList(names)), names);
}

TEST(Flags, OnlyExactlyOneIsOn) {
    EXPECT_TRUE(isOn("1"));
    for (const char* off : {"0", "", " 1", "1 ", "11", "yes", "true"})
        EXPECT_FALSE(isOn(off)) << off;
    EXPECT_EQ(flagText(true), "1");
    EXPECT_EQ(flagText(false), "0");
}

TEST(WeekDays, SelectsDaysByPositionSundayFirst) {
    EXPECT_TRUE(scheduledOn("0100000", 2)); // Monday only
    EXPECT_FALSE(scheduledOn("0100000", 1));
    EXPECT_TRUE(scheduledOn("1000001", 1));
    EXPECT_TRUE(scheduledOn("1000001", 7));
    for (int day = -1; day <= 8; ++day)
        EXPECT_FALSE(scheduledOn("0", day)) << day; // a cancelled shutdown selects nothing
    for (int day : {-1, 0, 4, 7, 8})
        EXPECT_FALSE(scheduledOn("111", day)) << day; // past the end, or no such day
    EXPECT_FALSE(scheduledOn("1x11111", 2));
}

TEST(WeekDays, DecodesAndEncodesSevenDays) {
    EXPECT_EQ(decodeWeekDays("11"), (WeekDays{true, true, false, false, false, false, false}));
    EXPECT_EQ(encodeWeekDays(decodeWeekDays("0010010")), "0010010");
    EXPECT_EQ(encodeWeekDays(decodeWeekDays("0")), "0000000");
    EXPECT_EQ(encodeWeekDays(decodeWeekDays("1111111extra")), "1111111");
}

TEST(ConfigLines, AShortFileReadsEmptyAndAWriteFillsTheGap) {
    Lines config{"Home", "1"};
    EXPECT_EQ(configValue(config, ConfigLine::Profile), "Home");
    EXPECT_TRUE(configFlag(config, ConfigLine::StartWithSystem));
    EXPECT_EQ(configValue(config, ConfigLine::ShowWholeDay), "");
    EXPECT_FALSE(configFlag(config, ConfigLine::ShowWholeDay));
    setConfigValue(config, ConfigLine::ShowWholeDay, "1");
    EXPECT_EQ(config, (Lines{"Home", "1", "", "", "", "", "", "", "", "1"}));
    EXPECT_EQ(lineAt(config, -1), "");
}

} // namespace
} // namespace tallowby::store
