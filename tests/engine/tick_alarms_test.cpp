// Reminders and the automatic shutdown as the tick fires them.
#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

TEST_F(TickTest, ReminderFiresOnceInTheTickThatContainsItsTime) {
    addReminder("14:30", kMondayOnly, "Stretch", "1");
    addReminder("14:30", "1011111", "Not on Mondays");
    addReminder("14:29", kEveryDay, "Passed before the rules ran");
    ticksFrom(hms(14, 29, 58, 401), 5);
    const auto shown = actions.of(Act::Reminder);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Reminder - It's time 14:30");
    EXPECT_EQ(shown[0].detail, "Stretch");
    EXPECT_EQ(shown[0].at.msOfDay, hms(14, 29, 59, 401));
    EXPECT_TRUE(shown[0].alarmSound);
}

TEST_F(TickTest, RemindersUseTheirOwnSoundFlag) {
    addReminder("14:30", kEveryDay, "loud", "1");
    addReminder("14:30:00", kEveryDay, "quiet", "0");
    addReminder("14:30", kEveryDay, "odd flag", " 1");
    tickAt(hms(14, 30));
    const auto shown = actions.of(Act::Reminder);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[0].alarmSound);
    EXPECT_FALSE(shown[1].alarmSound);
    EXPECT_FALSE(shown[2].alarmSound);
}

TEST_F(TickTest, ReminderJustBeforeMidnight) {
    addReminder("23:59", kMondayOnly, "late");
    ticksFrom(hms(23, 58, 59, 300), 3);
    ASSERT_EQ(actions.count(Act::Reminder), 1u);
    EXPECT_EQ(actions.of(Act::Reminder)[0].at.msOfDay, hms(23, 58, 59, 300));
}

TEST_F(TickTest, MidnightReminderFiresInTheLastTickOfTheDayBeforeForTomorrowsDay) {
    addReminder("00:00", "0010000", "Tuesday midnight");
    addReminder("00:00", kMondayOnly, "Monday midnight, already past");
    ticksFrom(hms(23, 59, 58, 250), 4); // Monday night into Tuesday
    const auto shown = actions.of(Act::Reminder);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].detail, "Tuesday midnight");
    EXPECT_EQ(shown[0].at.weekDay, 2) << "shown in Monday's last tick";
    EXPECT_EQ(shown[0].at.msOfDay, hms(23, 59, 59, 250));
}

TEST_F(TickTest, NestedTicksDoNotReopenAnOpenReminder) {
    addReminder("14:30", kEveryDay, "first");
    addReminder("14:31", kEveryDay, "second");
    modalsStayOpen(90 * 1000);
    tickAt(hms(14, 30));
    EXPECT_EQ(actions.count(Act::Reminder), 2u);
    EXPECT_EQ(actions.of(Act::Reminder)[1].detail, "second");
    EXPECT_GT(actions.count(Act::Header), 90u) << "enforcement went on while the pop-up was open";
}

TEST_F(TickTest, ReminderListReloadedWhileAPopUpIsOpen) {
    addReminder("14:30", kEveryDay, "first");
    addReminder("14:30", kEveryDay, "second");
    addReminder("14:30", kEveryDay, "third");
    actions.whileOpen = [this](const kit::ActionRecord&) {
        lists.ReminderLines.resize(9); // another profile with one reminder
        lists.ReminderCount = 1;
    };
    tickAt(hms(14, 30));
    EXPECT_EQ(actions.count(Act::Reminder), 1u);
}

TEST_F(TickTest, RemindersDueTogetherBeyondFourShareOnePopUp) {
    for (int i = 1; i <= 30; ++i)
        addReminder("14:30", kEveryDay, "task " + std::to_string(i), i == 30 ? "1" : "0");
    ticksFrom(hms(14, 29, 59, 500), 3);
    const auto shown = actions.of(Act::Reminder);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[3].detail, "task 4");
    EXPECT_EQ(shown[4].text, "Reminder - It's time 14:30");
    EXPECT_EQ(shown[4].detail.rfind("26 more reminders are due now:\ntask 5\ntask 6\n", 0), 0u)
        << shown[4].detail;
    EXPECT_TRUE(shown[4].detail.ends_with("\ntask 14\n... and 16 more.")) << shown[4].detail;
    EXPECT_TRUE(shown[4].alarmSound) << "the last of them asks for its sound";
}

TEST_F(TickTest, ShutdownWarnsTenMinutesAheadThenShutsDown) {
    setShutdown(kMondayOnly, "22:30", "1");
    addReminder("22:20", kEveryDay, "quiet", "0");
    ticksFrom(hms(22, 19, 59, 500), 2);
    ticksFrom(hms(22, 29, 59, 500), 2);
    const auto warnings = actions.of(Act::ShutdownWarning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, "Reminder for shutdown at 22:30");
    EXPECT_EQ(warnings[0].at.msOfDay, hms(22, 19, 59, 500));
    EXPECT_TRUE(warnings[0].alarmSound) << "the settings' own flag, not the reminder's";
    EXPECT_FALSE(actions.of(Act::Reminder).at(0).alarmSound);
    ASSERT_EQ(actions.count(Act::Shutdown), 1u);
    EXPECT_EQ(actions.of(Act::Shutdown)[0].at.msOfDay, hms(22, 29, 59, 500));
    const std::vector<Act> order = actions.sequence();
    EXPECT_LT(std::find(order.begin(), order.end(), Act::Reminder),
              std::find(order.begin(), order.end(), Act::ShutdownWarning));
}

TEST_F(TickTest, ShutdownNeedsItsDay) {
    for (const char* days : {"0", "1011111", ""}) {
        setShutdown(days, "22:30");
        ticksFrom(hms(22, 19, 59, 500), 2);
        ticksFrom(hms(22, 29, 59, 500), 2);
    }
    EXPECT_EQ(actions.count(Act::ShutdownWarning), 0u);
    EXPECT_EQ(actions.count(Act::Shutdown), 0u);
    setShutdown("01", "22:30", "0"); // a short string that still reaches Monday
    ticksFrom(hms(22, 19, 59, 500), 2);
    EXPECT_FALSE(actions.of(Act::ShutdownWarning).at(0).alarmSound);
}

TEST_F(TickTest, ShutdownFallsDueWhileTheWarningIsStillOpen) {
    setShutdown(kEveryDay, "22:30");
    modalsStayOpen(11 * 60 * 1000);
    tickAt(hms(22, 20));
    EXPECT_EQ(actions.count(Act::ShutdownWarning), 1u);
    EXPECT_EQ(actions.count(Act::Shutdown), 1u);
}

TEST_F(TickTest, CancelledShutdownDoesNotFollow) {
    setShutdown(kEveryDay, "22:30");
    actions.whileOpen = [this](const kit::ActionRecord&) {
        lists.ReminderLines[0] = "0"; // the warning's Cancel rewrote and reloaded the file
        for (int i = 0; i < 11 * 60; ++i) {
            clock.advance(intervalMs);
            tick();
        }
    };
    tickAt(hms(22, 20));
    EXPECT_EQ(actions.count(Act::Shutdown), 0u);
}

TEST_F(TickTest, ShutdownBeforeTenPastMidnightIsWarnedOfTheEveningBefore) {
    setShutdown("0010000", "00:05"); // Tuesdays
    clock.set(kit::at(2026, 12, 7, hms(23, 54, 58, 700)));
    for (int i = 0; i < 11 * 60; ++i) { // Monday 23:54:58 to Tuesday 00:05:58
        tick();
        clock.advance(intervalMs);
    }
    ASSERT_EQ(actions.count(Act::ShutdownWarning), 1u);
    EXPECT_EQ(actions.of(Act::ShutdownWarning)[0].at.weekDay, 2) << "Monday evening";
    EXPECT_EQ(actions.count(Act::Shutdown), 1u);

    setShutdown(kMondayOnly, "00:05"); // Tuesday is not a shutdown day: no warning on Monday
    ticksFrom(hms(23, 54, 58), 4);
    EXPECT_EQ(actions.count(Act::ShutdownWarning), 1u);
}

TEST_F(TickTest, ShutdownAtTenPastMidnightWarnsInTheLastTickBefore) {
    setShutdown("0010000", "00:10"); // Tuesdays
    clock.set(kit::at(2026, 12, 7, hms(23, 59, 58, 700)));
    for (int i = 0; i < 4; ++i) {
        tick();
        clock.advance(intervalMs);
    }
    ASSERT_EQ(actions.count(Act::ShutdownWarning), 1u);
    EXPECT_EQ(actions.of(Act::ShutdownWarning)[0].at.msOfDay, hms(23, 59, 59, 700));
}

TEST_F(TickTest, ShutdownAtMidnightShutsDownInTheLastTickBefore) {
    setShutdown("0010000", "00:00"); // Tuesdays
    ticksFrom(hms(23, 49, 58, 700), 4);
    ticksFrom(hms(23, 59, 58, 700), 4);
    ASSERT_EQ(actions.count(Act::ShutdownWarning), 1u);
    EXPECT_EQ(actions.of(Act::ShutdownWarning)[0].at.msOfDay, hms(23, 49, 59, 700));
    ASSERT_EQ(actions.count(Act::Shutdown), 1u);
    EXPECT_EQ(actions.of(Act::Shutdown)[0].at.weekDay, 2);
}

} // namespace
} // namespace tallowby::engine
