// How long each blocked website is kept when website blocks stay until their session ends.
#include "engine/site_lock_ends.h"

#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

TEST_F(TickTest, ASessionsSitesAreKeptUntilItsEndAndWholeDaySitesUntilMidnight) {
    setWholeDay(kEveryDay, "0", "", "social.example;");
    panel.domains = {"social.example"};
    addSession("09:00", "12:00", kEveryDay, "0", "", "news.example;social.example;");
    addSession("22:00", "01:00", kEveryDay, "0", "", "late.example;");
    const LocalDateTime morning = kit::at(2026, 12, 7, hms(9, 30));
    const std::int64_t midnight = localMs(kit::at(2026, 12, 8, 0));
    EXPECT_EQ(
        siteLockEnds(lists, panel, 0, morning),
        (std::map<std::string, std::int64_t>{{"news.example", localMs(kit::at(2026, 12, 7, hms(12, 0)))},
                                             {"social.example", midnight}}));
    // A session that runs over midnight keeps its sites into the next day.
    EXPECT_EQ(siteLockEnds(lists, panel, 1, kit::at(2026, 12, 7, hms(23, 0))).at("late.example"),
              localMs(kit::at(2026, 12, 8, hms(1, 0))));
    // No session and no whole-day day: nothing is kept.
    setWholeDay(kNoDay, "0", "", "social.example;");
    EXPECT_TRUE(siteLockEnds(lists, panel, -1, morning).empty());
}

} // namespace
} // namespace tallowby::engine
