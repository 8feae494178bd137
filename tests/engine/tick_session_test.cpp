// The tick's header, the current session, the hosts step and the sweeps.
#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

using Sites = std::vector<std::string>;

TEST_F(TickTest, HeaderAndStepOrder) {
    config(store::ConfigLine::BlockTaskManager, "1");
    clock.setTime(hms(8, 5, 9, 870));
    tick();
    ASSERT_EQ(actions.sequence(), (std::vector<Act>{Act::Header, Act::KillTaskManager, Act::CurrentSession,
                                                    Act::ClearSessionPanel}));
    const HeaderTexts& header = actions.records[0].header;
    EXPECT_EQ(header.clock, "08-05-09");
    EXPECT_EQ(header.profile, "Work");
    EXPECT_EQ(header.todayCaption, "Today");
    EXPECT_EQ(header.today, "12/07/2026  Monday");
    EXPECT_EQ(texts(Act::CurrentSession), std::vector<std::string>{"No session"});
    actions.sessionSelected = true;
    actions.records.clear();
    tick();
    EXPECT_EQ(actions.count(Act::ClearSessionPanel), 0u);
}

TEST_F(TickTest, SessionCurrentFromStartToEndInclusive) {
    addSession("09:00", "12:00");
    const std::pair<std::int64_t, int> cases[] = {{hms(8, 59, 59, 999), -1},
                                                  {hms(9, 0), 0},
                                                  {hms(12, 0), 0},
                                                  {hms(12, 0, 0, 1), -1},
                                                  {hms(12, 0, 1), -1}};
    for (const auto& [now, index] : cases) {
        actions.records.clear();
        tickAt(now);
        EXPECT_EQ(state.CurrentSessionIndex, index) << now;
        EXPECT_EQ(texts(Act::CurrentSession).back(), index == 0 ? "09:00-12:00" : "No session") << now;
    }
}

TEST_F(TickTest, SessionNotScheduledTodayUndoesAnEarlierMatch) {
    addSession("09:00", "12:00", kEveryDay);
    addSession("12:00", "13:00", "1011111"); // not on Mondays
    tickAt(hms(12, 0));
    EXPECT_EQ(texts(Act::CurrentSession),
              (std::vector<std::string>{"No session", "09:00-12:00", "No session"}));
    EXPECT_EQ(state.CurrentSessionIndex, -1);
    // The first session was current when it was looked at, so its hosts step and sweep ran.
    EXPECT_EQ(actions.count(Act::Sweep), 1u);
}

TEST_F(TickTest, TouchingSessionsLeaveTheLaterOneCurrent) {
    addSession("09:00", "12:00");
    addSession("12:00", "13:00");
    tickAt(hms(12, 0));
    EXPECT_EQ(state.CurrentSessionIndex, 1);
    EXPECT_EQ(actions.count(Act::Sweep), 2u);
}

TEST_F(TickTest, NoSessionCurrentStillSweepsTheWholeDayBlockList) {
    addSession("09:00", "12:00", kEveryDay, "1", "code.exe;", "example.com;");
    setWholeDay(kEveryDay, "0", "game.exe;", "");
    state.HostsRefreshPending = true;
    tickAt(hms(13, 0));
    ASSERT_EQ(actions.count(Act::Sweep), 1u);
    EXPECT_EQ(actions.of(Act::Sweep)[0].rule.kind, SweepKind::WholeDayBlock);
    EXPECT_EQ(actions.of(Act::Sweep)[0].rule.names, Sites{"game.exe"});
    EXPECT_EQ(actions.count(Act::Hosts), 0u);
    EXPECT_TRUE(state.HostsRefreshPending) << "only a current session clears the flag";
}

TEST_F(TickTest, WholeDayBlockSweepNeedsListModeAndDay) {
    setWholeDay(kEveryDay, "1", "game.exe;", ""); // Focus: no sweep of its own
    tick();
    setWholeDay(kNoDay, "0", "game.exe;", "");
    tick();
    setWholeDay(kEveryDay, "0", "", "");
    tick();
    EXPECT_EQ(actions.count(Act::Sweep), 0u);
    setWholeDay(kMondayOnly, "0", "game.exe;", "");
    tick();
    EXPECT_EQ(actions.count(Act::Sweep), 1u);
}

TEST_F(TickTest, SweepsCarryTheWindowCommand) {
    setWholeDay(kEveryDay, "0", "game.exe;", "");
    const std::pair<const char*, WindowCommand> cases[] = {
        {"0", WindowCommand::Minimize}, {"1", WindowCommand::Close}, {"2", WindowCommand::Close}};
    for (const auto& [value, command] : cases) {
        config(store::ConfigLine::WindowAction, value);
        actions.records.clear();
        tick();
        EXPECT_EQ(actions.of(Act::Sweep).at(0).rule.command, command) << value;
    }
    lists.ConfigLines.resize(13); // no line 13 at all
    actions.records.clear();
    tick();
    EXPECT_EQ(actions.of(Act::Sweep).at(0).rule.command, WindowCommand::Close);
}

TEST_F(TickTest, SessionSweepModeAndNames) {
    addSession("09:00", "12:00", kEveryDay, "1", "code.exe;vlc;;x.exe;");
    tickAt(hms(10, 0));
    ASSERT_EQ(actions.count(Act::Sweep), 1u);
    const SweepRule focus = actions.of(Act::Sweep)[0].rule;
    EXPECT_EQ(focus.kind, SweepKind::SessionFocus);
    EXPECT_EQ(focus.names, (Sites{"code.exe", "vlc", "x.exe"})) << "a short name no longer ends the list";
    for (const char* mode : {"0", "2", ""}) {
        lists.SessionLines[3] = mode;
        actions.records.clear();
        tick();
        EXPECT_EQ(actions.of(Act::Sweep).at(0).rule.kind, SweepKind::SessionBlock) << mode;
    }
}

TEST_F(TickTest, WholeDayFocusListWidensTheSessionOnWholeDayDaysOnly) {
    addSession("09:00", "12:00", kEveryDay, "0", "music.exe;");
    setWholeDay(kMondayOnly, "1", "music.exe;", "");
    tickAt(hms(10, 0));
    EXPECT_EQ(actions.of(Act::Sweep).at(0).rule.wholeDayFocusNames, Sites{"music.exe"});
    clock.advance(store::kMsPerDay); // Tuesday
    actions.records.clear();
    tick();
    EXPECT_TRUE(actions.of(Act::Sweep).at(0).rule.wholeDayFocusNames.empty());
    setWholeDay(kEveryDay, "0", "music.exe;", ""); // Block mode widens nothing
    actions.records.clear();
    tick();
    EXPECT_TRUE(actions.of(Act::Sweep).back().rule.wholeDayFocusNames.empty());
}

TEST_F(TickTest, PendingHostsRefreshWritesOnceWithSessionThenWholeDaySites) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "example.com;example.org;ab;late.com;");
    setWholeDay(kNoDay, "0", "", "whole.com;");
    state.HostsRefreshPending = true;
    ticksFrom(hms(10, 0), 3);
    ASSERT_EQ(actions.count(Act::Hosts), 1u);
    EXPECT_EQ(actions.of(Act::Hosts)[0].sites,
              (Sites{"example.com", "example.org", "ab", "late.com", "whole.com"}));
    EXPECT_FALSE(state.HostsRefreshPending);
    const std::vector<Act> order = actions.sequence();
    EXPECT_LT(std::find(order.begin(), order.end(), Act::Hosts),
              std::find(order.begin(), order.end(), Act::Sweep));
}

TEST_F(TickTest, RulesStartedInASessionsLastSecondStillUnblockAtItsEnd) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "example.com;");
    setWholeDay(kNoDay, "0", "", "whole.com;");
    state.HostsRefreshPending = true;
    tickAt(hms(11, 59, 59, 500));
    const auto writes = actions.of(Act::Hosts);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].sites, (Sites{"example.com", "whole.com"}));
    EXPECT_EQ(writes[1].sites, Sites{}) << "not a whole-day day: nothing stays blocked";
}

TEST_F(TickTest, HostsRewrittenOnceAtStartAndOnceAtEnd) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "example.com;");
    setWholeDay(kNoDay, "0", "", "whole.com;");
    ticksFrom(hms(8, 59, 58, 137), 6);
    ticksFrom(hms(11, 59, 57, 642), 6);
    const auto writes = actions.of(Act::Hosts);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].sites, (Sites{"example.com", "whole.com"}));
    EXPECT_EQ(writes[0].at.msOfDay, hms(9, 0, 0, 137));
    EXPECT_EQ(writes[1].sites, Sites{}) << "not a whole-day day: nothing stays blocked";
    EXPECT_EQ(writes[1].at.msOfDay, hms(11, 59, 59, 642));
}

TEST_F(TickTest, StartExactlyOnTheTickWritesInTheNextOne) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "example.com;");
    ticksFrom(hms(9, 0), 2);
    ASSERT_EQ(actions.count(Act::Hosts), 1u);
    EXPECT_EQ(actions.of(Act::Hosts)[0].at.msOfDay, hms(9, 0, 1));
}

TEST_F(TickTest, FailedHostsWriteSkipsThatSweepAndIsTriedAgainInTheNextTick) {
    addSession("09:00", "12:00", kEveryDay, "1", "", "example.com;");
    state.HostsRefreshPending = true;
    actions.hostsWriteSucceeds = false;
    tickAt(hms(10, 0));
    EXPECT_EQ(actions.count(Act::Hosts), 1u);
    EXPECT_EQ(actions.count(Act::Sweep), 0u);
    EXPECT_EQ(actions.sequence().back(), Act::ClearSessionPanel) << "the rest of the tick still runs";
    actions.records.clear();
    actions.hostsWriteSucceeds = true; // the disk has room again
    tickAt(hms(10, 0, 1));
    ASSERT_EQ(actions.count(Act::Hosts), 1u);
    EXPECT_EQ(actions.of(Act::Hosts)[0].sites, Sites{"example.com"});
    EXPECT_EQ(actions.count(Act::Sweep), 1u);
    actions.records.clear();
    tickAt(hms(10, 0, 2));
    EXPECT_EQ(actions.count(Act::Hosts), 0u) << "written once it worked";
}

TEST_F(TickTest, NoHostsOrSweepForASessionNotScheduledToday) {
    addSession("09:00", "12:00", "1011111", "1", "", "example.com;");
    state.HostsRefreshPending = true;
    ticksFrom(hms(8, 59, 59, 500), 3);
    EXPECT_EQ(actions.count(Act::Hosts), 0u);
    EXPECT_EQ(actions.count(Act::Sweep), 0u);
    EXPECT_TRUE(state.HostsRefreshPending);
}

TEST(WholeDayHostsSites, OnlyOnWholeDayDays) {
    store::RuleLists lists;
    WholeDayPanel panel;
    panel.domains = {"a.com.example", "b.example"};
    const LocalDateTime monday = kit::at(2026, 12, 7, 0);
    lists.WholeDayLines = {"0100000"};
    EXPECT_EQ(wholeDayHostsSites(lists, panel, monday), panel.domains);
    lists.WholeDayLines = {"1011111"};
    EXPECT_TRUE(wholeDayHostsSites(lists, panel, monday).empty());
    lists.WholeDayLines.clear();
    EXPECT_TRUE(wholeDayHostsSites(lists, panel, monday).empty());
}

} // namespace
} // namespace tallowby::engine
