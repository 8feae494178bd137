// The hosts file follows what should be blocked now, not only the moments a session starts and
// ends: across midnight, after the clock jumps (a sleep), after a hand edit, after a failed write.
#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

using Sites = std::vector<std::string>;

// The sites of every hosts write, in order.
std::vector<Sites> writes(const kit::RecordingActions& actions) {
    std::vector<Sites> sites;
    for (const auto& write : actions.of(Act::Hosts))
        sites.push_back(write.sites);
    return sites;
}

TEST_F(TickTest, MidnightBringsAndLiftsTheWholeDayWebsites) {
    setWholeDay("0010000", "0", "", "social.example;"); // Tuesdays
    clock.set(kit::at(2026, 12, 7, hms(23, 59, 58, 500)));
    for (int i = 0; i < 4; ++i) { // Monday night into Tuesday
        tick();
        clock.advance(intervalMs);
    }
    clock.set(kit::at(2026, 12, 8, hms(23, 59, 58, 500)));
    for (int i = 0; i < 4; ++i) { // Tuesday night into Wednesday
        tick();
        clock.advance(intervalMs);
    }
    EXPECT_EQ(writes(actions), (std::vector<Sites>{{"social.example"}, {}}));
}

TEST_F(TickTest, AClockThatJumpsOverASessionsStartAndEndStillBlocksAndUnblocks) {
    addSession("09:00", "10:00", kEveryDay, "0", "", "news.example;");
    const struct {
        std::int64_t at;
        Sites written; // empty list of writes when nothing changes
        bool writes;
    } steps[] = {{hms(8, 30), {}, false},
                 {hms(9, 30), {"news.example"}, true}, // woke up inside the session
                 {hms(9, 30, 1), {}, false},
                 {hms(10, 30), {}, true}}; // woke up after it
    for (const auto& step : steps) {
        actions.records.clear();
        tickAt(step.at);
        EXPECT_EQ(writes(actions), step.writes ? std::vector<Sites>{step.written} : std::vector<Sites>{})
            << step.at;
    }
}

TEST_F(TickTest, AHandEditedOrReplacedHostsFileIsPutRightAtTheNextTick) {
    addSession("09:00", "12:00", kEveryDay, "0", "", "news.example;");
    blockHolds({"news.example"});
    tickAt(hms(10, 0));
    EXPECT_EQ(actions.count(Act::Hosts), 0u) << "the file holds the block: nothing to write";
    actions.hostsFile = Sites{}; // someone took the block out
    tickAt(hms(10, 0, 1));
    EXPECT_EQ(writes(actions), (std::vector<Sites>{{"news.example"}}));
}

} // namespace
} // namespace tallowby::engine
