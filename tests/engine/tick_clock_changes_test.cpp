// Each alarm fires once a day whatever the wall clock does between two ticks: set back, it does not
// fire again; set forward over it (a time correction, the start of summer time), it fires once,
// late; at the end of summer time its minute comes round again and it does not fire twice. Only a
// sleep over it skips it, as a stop does. Berlin's clock, from the system's time zone database.
#include "support/zoned_sim_clock.h"
#include "tick_fixture.h"

namespace tallowby::engine {
namespace {

enum class Change { None, Step, Sleep };

struct ClockChange {
    const char* name;
    std::int64_t firstTick; // UTC
    std::int64_t alarmsAt;  // Berlin time of day of every alarm but the shutdown warning
    std::int64_t changeAfter;
    Change change;
    std::int64_t by;
    std::int64_t ticksFor;
    unsigned fires; // how often each alarm at alarmsAt fires
};

void PrintTo(const ClockChange& row, std::ostream* out) {
    *out << row.name;
}

std::string hhmm(std::int64_t msOfDay) {
    const std::int64_t minutes = msOfDay / 60000;
    const auto two = [](std::int64_t n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    return two(minutes / 60) + ":" + two(minutes % 60);
}

// 2026-12-07 is a Monday in winter; summer time ends on 2026-10-25 (03:00 CEST becomes 02:00 CET)
// and starts on 2026-03-29 (02:00 CET becomes 03:00 CEST).
const ClockChange kChanges[] = {
    {"SetBack75Seconds", kit::utcMs(2026, 12, 7, hms(7, 49, 30, 400)), hms(9, 1), 12 * 60000, Change::Step,
     -75000, 16 * 60000, 1},
    {"SetForward5Seconds", kit::utcMs(2026, 12, 7, hms(7, 49, 30, 400)), hms(9, 1), hms(0, 11, 28),
     Change::Step, 5000, 16 * 60000, 1},
    // Of a jump longer than an hour only its last hour is made up.
    {"SetForward90Minutes", kit::utcMs(2026, 12, 7, hms(7, 49, 30, 400)), hms(9, 1), 11 * 60000, Change::Step,
     hms(1, 30), 16 * 60000, 0},
    {"AsleepOverThem", kit::utcMs(2026, 12, 7, hms(7, 49, 30, 400)), hms(9, 1), 11 * 60000, Change::Sleep,
     120000, 16 * 60000, 0},
    {"SummerTimeEnds", kit::utcMs(2026, 10, 24, hms(23, 49, 30, 400)), hms(2, 1), 0, Change::None, 0,
     hms(1, 15, 30), 1},
    {"SummerTimeStarts", kit::utcMs(2026, 3, 29, hms(0, 49, 30, 400)), hms(3, 0), 0, Change::None, 0,
     hms(0, 15, 30), 1},
};

class ClockChangeTest : public TickTest, public ::testing::WithParamInterface<ClockChange> {
  protected:
    kit::ZonedSimClock berlin{"Europe/Berlin", GetParam().firstTick};
    kit::RecordingActions berlinActions{berlin, &state};
};

TEST_P(ClockChangeTest, EachAlarmFiresOnceADay) {
    const ClockChange& row = GetParam();
    // A reminder, the shutdown (warned of ten minutes before), the end of one session and the notice
    // ten minutes before the next, all at the same minute.
    noticesOn();
    addReminder(hhmm(row.alarmsAt), kEveryDay, "Stretch");
    setShutdown(kEveryDay, hhmm(row.alarmsAt));
    addSession(hhmm(row.alarmsAt - hms(2, 0)), hhmm(row.alarmsAt));
    addSession(hhmm(row.alarmsAt + hms(0, 10)), hhmm(row.alarmsAt + hms(2, 0)));
    for (std::int64_t ticking = 0; ticking < row.ticksFor; ticking += intervalMs) {
        if (ticking == row.changeAfter && row.change == Change::Step)
            berlin.step(row.by);
        if (ticking == row.changeAfter && row.change == Change::Sleep)
            berlin.advance(row.by);
        runTick({lists, panel, intervalMs}, state, berlin, berlinActions);
        berlin.advance(intervalMs);
    }
    EXPECT_EQ(berlinActions.count(Act::ShutdownWarning), 1u);
    EXPECT_EQ(berlinActions.count(Act::Reminder), row.fires);
    EXPECT_EQ(berlinActions.count(Act::Shutdown), row.fires);
    EXPECT_EQ(berlinActions.count(Act::Notice), 2 * row.fires);
}

INSTANTIATE_TEST_SUITE_P(Berlin, ClockChangeTest, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tallowby::engine
