// Pop-ups that stay open: the tick answers for the events of its own second, and decides about the
// present with the time after the pop-up closed.
#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

using Sites = std::vector<std::string>;

using PopUpTest = NoticeTickTest;

TEST_F(PopUpTest, EventsOfTheSameSecondSurviveAPopUpThatStaysOpen) {
    addReminder("14:30", kEveryDay, "first");
    addReminder("14:30", kEveryDay, "second"); // same time of day, other time key
    setShutdown(kEveryDay, "14:40");
    addSession("10:00", "14:30");
    addSession("14:40", "16:00");
    modalsStayOpen(45 * 1000);
    ticksFrom(hms(14, 29, 59, 300), 3);
    std::vector<std::string> shown;
    for (const kit::ActionRecord& r : actions.records) {
        if (r.act == Act::Reminder || r.act == Act::ShutdownWarning || r.act == Act::Notice) {
            shown.push_back(r.act == Act::Reminder ? r.detail : r.text.substr(0, 38));
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"first", "second", "Reminder for shutdown at 14:40",
                                               "Please mind Session 10:00-14:30 ended,",
                                               "Please mind Session 14:40-16:00 will s"}));
}

TEST_F(PopUpTest, LaterStepsSeeTheTimeAfterThePopUpClosed) {
    addReminder("12:00", kEveryDay, "lunch");
    addSession("09:00", "12:00", kEveryDay, "1", "code.exe;", "news.example;");
    addSession("12:03", "13:00", kEveryDay, "0", "game.exe;", "shop.example;");
    actions.whileOpen = [this](const kit::ActionRecord&) { clock.advance(5 * 60 * 1000); };
    tickAt(hms(11, 59, 59, 600));
    EXPECT_EQ(state.CurrentSessionIndex, 1);
    EXPECT_EQ(texts(Act::CurrentSession).back(), "12:03-13:00");
    const auto sweeps = actions.of(Act::Sweep);
    ASSERT_EQ(sweeps.size(), 1u) << "no sweep for the session that ended while the pop-up was open";
    EXPECT_EQ(sweeps[0].rule.kind, SweepKind::SessionBlock);
    const auto writes = actions.of(Act::Hosts);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].sites, Sites{"shop.example"}) << "the session current now, not the one that ended";
}

TEST_F(PopUpTest, EndNoticeLeftOpenStillUnblocksTheSessionsWebsites) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "news.example;");
    setWholeDay(kEveryDay, "0", "", "whole.example;");
    blockHolds({"news.example", "whole.example"});
    actions.whileOpen = [this](const kit::ActionRecord&) { clock.advance(20 * 1000); };
    ticksFrom(hms(11, 59, 59, 600), 3);
    ASSERT_EQ(actions.count(Act::Notice), 1u);
    const auto writes = actions.of(Act::Hosts);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].sites, Sites{"whole.example"});
    EXPECT_GT(writes[0].at.msOfDay, hms(12, 0, 10)) << "written once the notice was closed";
}

TEST_F(PopUpTest, EndNoticeLeftOpenWhileTheNextSessionStarts) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "news.example;");
    addSession("12:00", "13:00", kEveryDay, "0", "", "shop.example;");
    modalsStayOpen(20 * 1000);
    ticksFrom(hms(11, 59, 59, 600), 3);
    const auto writes = actions.of(Act::Hosts);
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back().sites, Sites{"shop.example"}) << "the next session's websites stay blocked";
    EXPECT_EQ(state.CurrentSessionIndex, 1);
}

TEST_F(PopUpTest, ReminderOpenOverASessionEndStillUnblocks) {
    config(store::ConfigLine::SessionEndReminder, "0");
    addReminder("12:00", kEveryDay, "lunch");
    addSession("09:00", "12:00", kEveryDay, "0", "", "news.example;");
    blockHolds({"news.example"});
    modalsStayOpen(30 * 1000);
    ticksFrom(hms(11, 59, 59, 900), 2);
    const auto writes = actions.of(Act::Hosts);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_TRUE(writes[0].sites.empty());
}

TEST_F(PopUpTest, SessionThatStartedUnderAPopUpWritesItsWebsitesOnce) {
    addReminder("08:59", kEveryDay, "get ready");
    addSession("09:00", "12:00", kEveryDay, "0", "", "news.example;");
    modalsStayOpen(3 * 60 * 1000);
    tickAt(hms(8, 59));
    const auto writes = actions.of(Act::Hosts);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].at.msOfDay, hms(9, 0, 1)) << "written by the tick that ran inside the pop-up";
}

TEST_F(PopUpTest, ASessionThatNeverBeganGivesUpNothing) {
    addReminder("12:00", kEveryDay, "lunch");
    addSession("13:00", "12:00", kEveryDay, "0", "", "news.example;"); // hand-edited: ends before it starts
    addSession("12:00", "12:30", "1011111", "0", "", "shop.example;"); // not on Mondays
    modalsStayOpen(5 * 1000);
    ticksFrom(hms(11, 59, 59, 500), 2);
    EXPECT_EQ(actions.count(Act::Hosts), 0u);
    EXPECT_FALSE(state.HostsRefreshPending);
}

} // namespace
} // namespace tallowby::engine
