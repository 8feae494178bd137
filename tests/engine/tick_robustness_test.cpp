// Hand-edited files: unreadable times, short lists, counts that do not match the lines.
#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

TEST_F(TickTest, UnreadableReminderTimeSkipsOnlyThatReminder) {
    addReminder("25:99", kEveryDay, "broken");
    addReminder("", kEveryDay, "empty");
    addReminder("14:30", kEveryDay, "good");
    for (int day = 0; day < 2; ++day) {
        ticksFrom(hms(14, 29, 59, 500), 2);
        clock.advance(store::kMsPerDay);
    }
    const auto shown = actions.of(Act::Reminder);
    ASSERT_EQ(shown.size(), 2u) << "once a day, every day";
    EXPECT_EQ(shown[0].detail, "good");
}

TEST_F(TickTest, UnreadableSessionTimeSkipsOnlyThatSession) {
    config(store::ConfigLine::SessionReminder, "1");
    config(store::ConfigLine::SessionEndReminder, "1");
    addSession("09:00", "9.30");
    addSession("nine", "12:00");
    addSession("09:00", "12:00", kEveryDay, "0", "", "example.com;");
    state.HostsRefreshPending = true;
    tickAt(hms(8, 50));
    tickAt(hms(10, 0));
    tickAt(hms(10, 0, 1));
    EXPECT_EQ(actions.count(Act::Notice), 1u);
    EXPECT_EQ(state.CurrentSessionIndex, 2);
    EXPECT_EQ(actions.count(Act::Hosts), 1u);
    EXPECT_EQ(actions.count(Act::Sweep), 2u);
}

TEST_F(TickTest, UnreadableShutdownTimeIsSkipped) {
    setShutdown(kEveryDay, "22:3O");
    addReminder("22:20", kEveryDay, "still fires");
    ticksFrom(hms(22, 19, 59, 500), 2);
    ticksFrom(hms(22, 29, 59, 500), 2);
    EXPECT_EQ(actions.count(Act::ShutdownWarning), 0u);
    EXPECT_EQ(actions.count(Act::Shutdown), 0u);
    EXPECT_EQ(actions.count(Act::Reminder), 1u);
}

TEST_F(TickTest, EmptyListsRunTheFixedSteps) {
    lists = store::RuleLists{};
    panel = WholeDayPanel{};
    tick();
    EXPECT_EQ(actions.sequence(),
              (std::vector<Act>{Act::Header, Act::CurrentSession, Act::ClearSessionPanel}));
    EXPECT_EQ(actions.records[0].header.profile, "");
}

TEST_F(TickTest, CountsLargerThanTheLinesAreClamped) {
    addSession("09:00", "12:00");
    lists.SessionLines.resize(10); // the second record is incomplete
    lists.SessionCount = 1000000;
    lists.ReminderLines = {kEveryDay, "22:30"};
    lists.ReminderCount = 1000000;
    tickAt(hms(10, 0));
    EXPECT_EQ(state.CurrentSessionIndex, 0);
    EXPECT_EQ(actions.count(Act::Reminder), 0u);
}

TEST_F(TickTest, ShortReminderFileStillShutsDown) {
    lists.ReminderLines = {kEveryDay, "22:30"};
    lists.ReminderCount = 0;
    ticksFrom(hms(22, 29, 59, 500), 2);
    EXPECT_EQ(actions.count(Act::Shutdown), 1u);
}

TEST_F(TickTest, GarbageLinesDoNotMatter) {
    addSession("09:00", "12:00", std::string(300, '1'), std::string("\x01\xff", 2), std::string(500, ';'),
               "a;b;c;" + std::string(1000, 'x') + ";");
    setWholeDay("1", "", ";;;", "");
    lists.WholeDayLines.resize(1);
    state.HostsRefreshPending = true;
    tickAt(hms(10, 0));
    ASSERT_EQ(actions.count(Act::Hosts), 1u);
    EXPECT_EQ(actions.of(Act::Hosts)[0].sites,
              (std::vector<std::string>{"a", "b", "c", std::string(1000, 'x')}));
    const SweepRule rule = actions.of(Act::Sweep).at(0).rule;
    EXPECT_EQ(rule.kind, SweepKind::SessionBlock);
    EXPECT_TRUE(rule.names.empty());
}

} // namespace
} // namespace tallowby::engine
