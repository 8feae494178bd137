// Reading stored times of day.
#include <gtest/gtest.h>

#include "store/time_of_day.h"

namespace tallowby::store {
namespace {

constexpr std::int64_t kMinute = 60 * 1000;

TEST(ParseTimeOfDay, ReadsHoursMinutesAndSeconds) {
    EXPECT_EQ(parseTimeOfDay("00:00"), 0);
    EXPECT_EQ(parseTimeOfDay("09:05"), 9 * 60 * kMinute + 5 * kMinute);
    EXPECT_EQ(parseTimeOfDay("9:05"), parseTimeOfDay("09:05"));
    EXPECT_EQ(parseTimeOfDay("23:59"), kMsPerDay - kMinute);
    EXPECT_EQ(parseTimeOfDay("23:59:59"), kMsPerDay - 1000);
    EXPECT_EQ(parseTimeOfDay("12:30:15"), (12 * 60 + 30) * kMinute + 15000);
}

class BadTime : public testing::TestWithParam<std::string> {};

TEST_P(BadTime, IsRefusedWithAnErrorNamingTheText) {
    const std::string text = GetParam();
    try {
        parseTimeOfDay(text);
        FAIL() << "accepted \"" << text << "\"";
    } catch (const TimeFormatError& e) {
        EXPECT_EQ(e.text(), text);
        EXPECT_STREQ(e.what(), ("Not a time of day: \"" + text + "\"").c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, BadTime,
                         testing::Values("25:99", "", "9.30", "12:5", "24:00", "12:60", "23:59:60", "9:05:00",
                                         " 9:30", "09:30 ", "+9:30", "-1:00", "0x:00", "123:00", "12:345",
                                         "12::00", "12:00:", "12:00:5", ":", "99999999999999999999:00",
                                         "１２:00", std::string("09:3\0", 5), "\xff\xff:00"));

} // namespace
} // namespace tallowby::store
