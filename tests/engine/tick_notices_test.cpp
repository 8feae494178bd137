// The session notices as the tick shows them.
#include "engine/notices.h"
#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

TEST_F(NoticeTickTest, BeforeAndAtTheEndOfASession) {
    addSession("09:00", "12:00", kMondayOnly, "1", "notepad.exe;", "example.com;");
    ticksFrom(hms(8, 49, 57, 10), 6);
    ticksFrom(hms(11, 59, 57, 10), 6);
    const auto shown = actions.of(Act::Notice);
    ASSERT_EQ(shown.size(), 2u);
    const SessionRecord session{"09:00", "12:00", kMondayOnly, "1", "notepad.exe;", "example.com;"};
    EXPECT_EQ(shown[0].text, PreSessionNoticeText(session, nullptr));
    EXPECT_EQ(shown[0].at.msOfDay, hms(8, 49, 59, 10));
    EXPECT_EQ(shown[1].text, SessionEndNoticeText(session, nullptr));
    EXPECT_EQ(shown[1].at.msOfDay, hms(11, 59, 59, 10));
}

TEST_F(NoticeTickTest, EndNoticeClosesBeforeTheHostsFileIsReset) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "example.com;");
    tickAt(hms(11, 59, 59, 500));
    const std::vector<Act> order = actions.sequence();
    const auto notice = std::find(order.begin(), order.end(), Act::Notice);
    ASSERT_NE(notice, order.end());
    EXPECT_LT(notice, std::find(order.begin(), order.end(), Act::Hosts));
}

TEST_F(NoticeTickTest, WholeDayPartOnWholeDayDaysOnly) {
    addSession("09:00", "12:00");
    setWholeDay(kMondayOnly, "0", "game.exe;", "");
    tickAt(hms(8, 50));
    clock.advance(store::kMsPerDay);
    tick();
    const auto shown = texts(Act::Notice);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(
        shown[0].find("\r\rFor whole day events:\rBelow process blocked:\rgame.exe;\rWebsite blocked:\rNone"),
        std::string::npos);
    EXPECT_EQ(shown[1].find("For whole day events:"), std::string::npos);
}

TEST_F(NoticeTickTest, OptionsOffOrDayNotScheduledGiveNoNotice) {
    addSession("09:00", "12:00", "1011111");
    tickAt(hms(8, 50));
    tickAt(hms(12, 0));
    lists.SessionLines[2] = kEveryDay;
    config(store::ConfigLine::SessionReminder, "0");
    config(store::ConfigLine::SessionEndReminder, "");
    tickAt(hms(8, 50));
    tickAt(hms(12, 0));
    EXPECT_EQ(actions.count(Act::Notice), 0u);
}

TEST_F(NoticeTickTest, SessionBeforeTenPastMidnightHasNoNotice) {
    addSession("00:05", "01:00");
    ticksFrom(hms(23, 54, 58), 4);
    ticksFrom(hms(23, 59, 58), 4);
    EXPECT_EQ(actions.count(Act::Notice), 0u);
}

TEST_F(NoticeTickTest, SessionAtTenPastMidnightIsAnnouncedTheNightBefore) {
    addSession("00:10", "01:00", "0010000"); // Tuesdays
    setWholeDay("0010000", "1", "", "");     // also Tuesdays only
    ticksFrom(hms(23, 59, 58, 500), 4);      // Monday night into Tuesday
    const auto shown = actions.of(Act::Notice);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].at.weekDay, 2);
    EXPECT_NE(shown[0].text.find("For whole day events:"), std::string::npos) << "Tuesday's whole-day rules";
}

TEST_F(NoticeTickTest, NestedTicksDoNotRepeatAnOpenNotice) {
    addSession("09:00", "09:05", kEveryDay, "0", "", "example.com;");
    modalsStayOpen(16 * 60 * 1000);
    tickAt(hms(8, 50));
    const auto shown = texts(Act::Notice);
    ASSERT_EQ(shown.size(), 2u) << "the session's start notice and, inside it, its end notice";
    EXPECT_NE(shown[0].find("will start"), std::string::npos);
    EXPECT_NE(shown[1].find("ended"), std::string::npos);
    // The session started and ended while the first notice was open; its hosts writes happened then.
    EXPECT_EQ(actions.count(Act::Hosts), 2u);
}

} // namespace
} // namespace tallowby::engine
