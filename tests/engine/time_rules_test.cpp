#include <gtest/gtest.h>

#include <random>

#include "engine/time_rules.h"
#include "support/sim_clock.h"

namespace tallowby::engine {
namespace {

using kit::hms;
constexpr std::int64_t kDay = store::kMsPerDay;

TEST(CompareTimeOfDay, OrdersByMillisecond) {
    EXPECT_EQ(CompareTimeOfDay(hms(9, 0), hms(9, 0)), 0);
    EXPECT_EQ(CompareTimeOfDay(hms(9, 0), hms(9, 0, 0, 1)), -1);
    EXPECT_EQ(CompareTimeOfDay(hms(9, 0, 0, 1), hms(9, 0)), 1);
    // Ten minutes before 00:05 stays before midnight instead of wrapping round to the evening.
    EXPECT_EQ(CompareTimeOfDay(hms(0, 5) - hms(0, 10), hms(0, 0)), -1);
    EXPECT_EQ(CompareTimeOfDay(hms(0, 5) - hms(0, 10), hms(23, 59)), -1);
}

TEST(SessionWindow, IncludesBothEnds) {
    const std::int64_t start = hms(9, 0);
    const std::int64_t end = hms(12, 0);
    EXPECT_FALSE(inSessionWindow(start, end, hms(8, 59, 59, 999)));
    EXPECT_TRUE(inSessionWindow(start, end, hms(9, 0)));
    EXPECT_TRUE(inSessionWindow(start, end, hms(10, 30)));
    EXPECT_TRUE(inSessionWindow(start, end, hms(12, 0)));
    EXPECT_FALSE(inSessionWindow(start, end, hms(12, 0, 0, 1)));
    EXPECT_FALSE(inSessionWindow(start, end, hms(12, 0, 1)));
}

TEST(SessionWindow, EndBeforeStartNeverMatches) {
    for (std::int64_t now = 0; now < kDay; now += hms(0, 7)) {
        EXPECT_FALSE(inSessionWindow(hms(12, 0), hms(9, 0), now)) << now;
    }
}

TEST(SessionStart, JustPassedCoversOneIntervalAfterTheStart) {
    const std::int64_t start = hms(9, 0);
    EXPECT_FALSE(sessionStartJustPassed(start, start, 1000));
    EXPECT_TRUE(sessionStartJustPassed(start, start + 1, 1000));
    EXPECT_TRUE(sessionStartJustPassed(start, start + 1000, 1000));
    EXPECT_FALSE(sessionStartJustPassed(start, start + 1001, 1000));
    EXPECT_FALSE(sessionStartJustPassed(start, start - 1, 1000));
}

TEST(DueThisTick, WindowIsHalfOpen) {
    const std::int64_t t = hms(14, 30);
    EXPECT_EQ(DueThisTick(t, t, 1000), DueDay::Today);
    EXPECT_EQ(DueThisTick(t, t - 999, 1000), DueDay::Today);
    EXPECT_EQ(DueThisTick(t, t - 1000, 1000), DueDay::NotDue);
    EXPECT_EQ(DueThisTick(t, t + 1, 1000), DueDay::NotDue);
    EXPECT_EQ(DueThisTick(t, t, 0), DueDay::NotDue);
}

TEST(DueThisTick, MidnightFallsInTheLastTickOfTheDayBefore) {
    EXPECT_EQ(DueThisTick(0, kDay - 500, 1000), DueDay::Tomorrow);
    EXPECT_EQ(DueThisTick(499, kDay - 500, 1000), DueDay::Tomorrow);
    EXPECT_EQ(DueThisTick(500, kDay - 500, 1000), DueDay::NotDue);
    EXPECT_EQ(DueThisTick(kDay - 1, kDay - 500, 1000), DueDay::Today);
    // A tick that ends exactly at midnight leaves 00:00 to the next one.
    EXPECT_EQ(DueThisTick(0, kDay - 1000, 1000), DueDay::NotDue);
    EXPECT_EQ(DueThisTick(0, 0, 1000), DueDay::Today);
}

TEST(DueThisTick, NegativeTimesAreNeverDue) {
    for (std::int64_t now : {std::int64_t{0}, kDay - 1000, kDay - 1, hms(23, 55)}) {
        EXPECT_EQ(DueThisTick(-1, now, 1000), DueDay::NotDue);
        EXPECT_EQ(DueThisTick(hms(0, 5) - hms(0, 10), now, 1000), DueDay::NotDue);
    }
}

TEST(DueWeekDay, PastMidnightUsesTomorrowsWeekDay) {
    const LocalDateTime saturdayNight = kit::at(2026, 12, 12, kDay - 300);
    ASSERT_EQ(saturdayNight.weekDay, 7);
    EXPECT_EQ(dueWeekDay(0, saturdayNight, 1000), 1);
    EXPECT_EQ(dueWeekDay(kDay - 100, saturdayNight, 1000), 7);
    EXPECT_EQ(dueWeekDay(hms(1, 0), saturdayNight, 1000), 0);
    EXPECT_TRUE(dueAndScheduled(0, "1000000", saturdayNight, 1000));
    EXPECT_FALSE(dueAndScheduled(0, "0000001", saturdayNight, 1000));
    EXPECT_TRUE(dueAndScheduled(kDay - 100, "0000001", saturdayNight, 1000));
}

TEST(ScheduledToday, ReadsTheDaysCharacter) {
    const LocalDateTime monday = kit::at(2026, 12, 7, 0);
    ASSERT_EQ(monday.weekDay, 2);
    EXPECT_TRUE(ScheduledToday("0100000", monday));
    EXPECT_FALSE(ScheduledToday("1011111", monday));
    EXPECT_FALSE(ScheduledToday("0", monday));
    EXPECT_FALSE(ScheduledToday("", monday));
    EXPECT_FALSE(ScheduledToday("0200000", monday));
    EXPECT_TRUE(ScheduledToday("1000000", kit::at(2026, 12, 6, 0)));
}

// Ticks one interval apart, starting at a random phase, cover every time of day exactly once; the
// sequence crosses midnight so that the day's first minutes are covered by both days' ticks.
class DueOnce : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(DueOnce, EveryTimeIsDueInExactlyOneTick) {
    std::mt19937 random(GetParam());
    const std::int64_t interval = 1000;
    const std::int64_t phase = std::uniform_int_distribution<std::int64_t>(0, interval - 1)(random);
    const std::int64_t first = hms(23, 50) + phase;
    std::vector<std::int64_t> times{0, 1, 999, 1000, hms(0, 0, 59, 999), hms(23, 59, 59, 999), hms(23, 55)};
    for (int i = 0; i < 40; ++i) {
        times.push_back(std::uniform_int_distribution<std::int64_t>(hms(23, 50, 1), kDay - 1)(random));
        times.push_back(std::uniform_int_distribution<std::int64_t>(0, hms(0, 20))(random));
    }
    for (const std::int64_t t : times) {
        int dueCount = 0;
        for (std::int64_t absolute = first; absolute < kDay + hms(0, 30); absolute += interval) {
            const std::int64_t now = absolute % kDay;
            const DueDay due = DueThisTick(t, now, interval);
            if (due != DueDay::NotDue) {
                ++dueCount;
                // The day it falls on is the day of the tick's absolute time plus the wrap.
                const bool tomorrow = due == DueDay::Tomorrow || absolute >= kDay;
                EXPECT_EQ(tomorrow, t < first) << "t=" << t;
            }
        }
        EXPECT_EQ(dueCount, 1) << "t=" << t << " phase=" << phase;
    }
}

INSTANTIATE_TEST_SUITE_P(RandomPhases, DueOnce, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));

} // namespace
} // namespace tallowby::engine
