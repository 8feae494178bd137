#pragma once
// The parts of one tick, in the files that carry them out. Private to the engine.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/tick.h"
#include "engine/time_rules.h"

namespace tallowby::engine {

struct TickContext {
    const TickInputs& inputs;
    TickState& state;
    const Clock& clock;
    TickActions& actions;

    // The clock when the tick began. The tick answers for the timed events of [windowStart,
    // windowStart + windowLength): normally [begun, begun + interval), taken up from where the last
    // tick ended (TickState::answeredUntil). The ticks that run while one of its pop-ups is open
    // answer for the windows after it. So an event is never lost because an earlier pop-up of its own
    // tick stayed open, and never repeated by a nested tick.
    LocalDateTime begun;
    // A hosts write of this tick failed: it is tried again in the next tick, not at once.
    mutable bool hostsWriteFailed = false;
    // In milliseconds of begun's day; negative when the window began the day before.
    std::int64_t windowStart = 0;
    std::int64_t windowLength = 0;

    const store::RuleLists& lists() const { return inputs.lists; }
    // The present, read afresh for every decision about it (which session is current, what a sweep
    // spares): a pop-up opened earlier in the tick may have stayed open for minutes.
    LocalDateTime now() const { return clock.now(); }
    std::int64_t interval() const { return inputs.intervalMs; }
    // The local date (days since 1970-01-01) of an event at timeMs past midnight due in this tick's
    // window, which near midnight may be tomorrow's or yesterday's; nothing when it is not due.
    std::optional<std::int64_t> dueOn(std::int64_t timeMs) const;
    // The week day of that date.
    int weekDayOn(std::int64_t day) const;
    // The week day of an event due in this tick's window, 0 when it is not due.
    int dueDay(std::int64_t timeMs) const;
    // An alarm (a reminder, the shutdown or its warning, a notice) due on day fires unless it fired
    // for that day already, when the wall clock was set back over it. Remembered from now on.
    bool firstFiring(const std::string& alarm, std::int64_t day) const;
    // The session start has just passed: it lies in the tick's window moved one interval back.
    bool startJustPassed(std::int64_t startMs) const;
    // A sweep rule of this kind with the tick's window command.
    SweepRule sweepRule(SweepKind kind, std::vector<std::string> names) const;
};

// Writes the hosts block and remembers what it holds (nothing after a failed write).
bool writeHostsBlock(const TickContext& tick, const std::vector<std::string>& sites);
// What should be blocked now: the current session's websites and the whole-day websites during a
// session, else the whole-day websites on a whole-day day. Nothing in the instant a session starts:
// its own write comes in the next tick.
std::optional<std::vector<std::string>> sitesBlockedNow(const TickContext& tick);

void runReminders(const TickContext& tick);
void runAutomaticShutdown(const TickContext& tick);
// When the session's end fell in this tick's window but an earlier pop-up of the tick kept it open
// past the end, the refresh flag is set for whichever session is current next; the hosts file then
// follows at the end of the tick.
void runSession(const TickContext& tick, int index);

} // namespace tallowby::engine
