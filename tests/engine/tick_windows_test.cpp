// Ticks never fire exactly one interval apart: each tick takes up where the last one ended, so an
// event on a second boundary is due exactly once however the timer drifts.
#include <functional>

#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

// Tick times with the jitter a busy timer shows: late, early, late again.
void driftingTicks(std::int64_t first, std::initializer_list<std::int64_t> gaps,
                   const std::function<void(std::int64_t)>& tickAt) {
    std::int64_t at = first;
    tickAt(at);
    for (std::int64_t gap : gaps) {
        at += gap;
        tickAt(at);
    }
}

TEST_F(TickTest, AnEventInTheGapAfterALateTickStillFiresOnce) {
    addReminder("14:30", kEveryDay, "on the boundary");
    // The first tick answers for [14:29:59.000, 14:30:00.000); the next comes 2 ms late.
    driftingTicks(hms(14, 29, 59), {1002, 1000}, [this](std::int64_t at) { tickAt(at); });
    ASSERT_EQ(actions.count(Act::Reminder), 1u);
    EXPECT_EQ(actions.of(Act::Reminder)[0].at.msOfDay, hms(14, 30, 0, 2));
}

TEST_F(TickTest, AnEarlyTickDoesNotFireTheSameEventTwice) {
    addReminder("14:30", kEveryDay, "once");
    // [14:29:59.500, 14:30:00.500) holds the event; the next tick comes 3 ms early and must not
    // answer for it again.
    driftingTicks(hms(14, 29, 59, 500), {997, 1000}, [this](std::int64_t at) { tickAt(at); });
    EXPECT_EQ(actions.count(Act::Reminder), 1u);
}

TEST_F(TickTest, SessionEndUnblocksEvenWhenTheTickAfterItIsLate) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "news.example;");
    setWholeDay(kEveryDay, "0", "", "social.example;");
    blockHolds({"news.example", "social.example"});
    driftingTicks(hms(11, 59, 59), {1001, 1000}, [this](std::int64_t at) { tickAt(at); });
    const auto writes = actions.of(Act::Hosts);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].sites, (std::vector<std::string>{"social.example"}));
}

TEST_F(TickTest, WhatPassedWhileTheRulesWereOffIsNotMadeUp) {
    addReminder("14:30", kEveryDay, "missed while stopped");
    tickAt(hms(14, 29, 50));
    // Stopped for a quarter of a minute: the first tick after it answers for its own second only.
    tickAt(hms(14, 30, 5));
    EXPECT_EQ(actions.count(Act::Reminder), 0u);
}

TEST_F(TickTest, ALateTickAcrossMidnightStillFiresTheMidnightEvent) {
    addReminder("00:00", "0010000", "Tuesday midnight");
    // Monday's last tick answers up to midnight exactly; Tuesday's first comes 300 ms late.
    tickAt(hms(23, 59, 58));
    clock.advance(1000);
    tick();
    clock.advance(1300);
    tick();
    const auto shown = actions.of(Act::Reminder);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].at.weekDay, 3) << "shown in Tuesday's first tick";
}

TEST_F(TickTest, AClockSetForwardOverMidnightFiresWhatItJumpedOverOnTheirOwnDays) {
    addReminder("23:55", kMondayOnly, "Monday night");
    addReminder("00:05", "0010000", "Tuesday morning");
    addReminder("00:05", kMondayOnly, "not on Tuesdays");
    tickAt(hms(23, 50));
    clock.advance(intervalMs);
    clock.step(30 * 60 * 1000); // a time correction, or summer time in a zone that changes at midnight
    tick();
    EXPECT_EQ(texts(Act::Reminder),
              (std::vector<std::string>{"Reminder - It's time 23:55", "Reminder - It's time 00:05"}));
}

} // namespace
} // namespace tallowby::engine
