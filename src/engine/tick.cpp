#include "engine/tick.h"

#include <algorithm>

#include "engine/header_texts.h"
#include "engine/record_lines.h"
#include "engine/tick_steps.h"
#include "engine/time_rules.h"
#include "store/config_lines.h"
#include "store/line_values.h"
#include "store/time_of_day.h"

namespace tallowby::engine {

namespace {

void sweepWholeDayBlock(const TickContext& tick) {
    const WholeDayPanel& panel = tick.inputs.wholeDay;
    if (panel.processes.empty() || panel.focus ||
        !ScheduledToday(store::lineAt(tick.lists().WholeDayLines, 0), tick.now())) {
        return;
    }
    tick.actions.sweepWindows(tick.sweepRule(SweepKind::WholeDayBlock, panel.processes));
}

// How late a tick may come, in real time, after the end of the last one's window and still take it
// up: a timer's jitter, a busy moment. Later than that the rules were off (stopped, paused, the
// machine asleep or stalled) and what passed meanwhile is not made up.
constexpr int kMostIntervalsTakenUp = 3;
// How much of a wall clock set forward between two ticks is made up: a time correction or the
// start of summer time jumps over moments whose alarms then fire once, late. Of a longer jump (a
// clock that was far wrong) only its last hour is.
constexpr std::int64_t kMostMadeUpMs = 60LL * 60 * 1000;

TickContext makeContext(const TickInputs& inputs, TickState& state, const Clock& clock,
                        TickActions& actions) {
    TickContext tick{inputs, state, clock, actions, clock.now()};
    const std::int64_t sinceBoot = clock.sinceBootMs();
    const std::int64_t interval = std::max(inputs.intervalMs, 0);
    const std::int64_t begun = localMs(tick.begun);
    const std::int64_t end = begun + interval;
    std::int64_t start = begun;
    // The wall clock is not trusted for how much time passed: it jumps when it is set. Real time
    // tells a tick that came on time after the clock was set forward (taken up) from one that came
    // after a sleep (not). After a clock set back the window starts afresh: what it answers for again
    // fired already and does not fire twice (TickState::fired).
    if (state.answeredUntil && sinceBoot - state.answeredUntilSinceBoot <= kMostIntervalsTakenUp * interval &&
        *state.answeredUntil <= end) {
        start = std::max(*state.answeredUntil, begun - kMostMadeUpMs - kMostIntervalsTakenUp * interval);
    }
    state.answeredUntil = end;
    state.answeredUntilSinceBoot = sinceBoot + interval;
    tick.windowStart = tick.begun.msOfDay + (start - begun);
    tick.windowLength = end - start;
    return tick;
}

} // namespace

std::optional<std::int64_t> TickContext::dueOn(std::int64_t timeMs) const {
    const std::int64_t from = localMs(begun) - begun.msOfDay + windowStart;
    return dueDate(timeMs, from, from + windowLength);
}

int TickContext::weekDayOn(std::int64_t day) const {
    return weekDayAfter(begun.weekDay, day - daysSinceEpoch(begun));
}

int TickContext::dueDay(std::int64_t timeMs) const {
    const std::optional<std::int64_t> day = dueOn(timeMs);
    return day ? weekDayOn(*day) : 0;
}

bool TickContext::firstFiring(const std::string& alarm, std::int64_t day) const {
    if (state.fired.firedOn(alarm, day))
        return false;
    state.fired.markFired(alarm, day);
    return true;
}

bool TickContext::startJustPassed(std::int64_t startMs) const {
    // The start lies in the window moved one interval back.
    return dueOn(startMs + interval()).has_value();
}

SweepRule TickContext::sweepRule(SweepKind kind, std::vector<std::string> names) const {
    SweepRule rule;
    rule.kind = kind;
    rule.names = std::move(names);
    rule.command = store::closesWindows(lists().ConfigLines) ? WindowCommand::Close : WindowCommand::Minimize;
    return rule;
}

void runTick(const TickInputs& inputs, TickState& state, const Clock& clock, TickActions& actions) {
    const TickContext tick = makeContext(inputs, state, clock, actions);
    state.CurrentSessionIndex = -1;

    actions.showHeader({clockText(tick.begun), store::shownProfileName(inputs.lists.ConfigLines), "Today",
                        todayText(tick.begun)});
    if (store::configFlag(inputs.lists.ConfigLines, store::ConfigLine::BlockTaskManager)) {
        actions.killTaskManager();
    }
    actions.showCurrentSession("No session");

    runReminders(tick);
    runAutomaticShutdown(tick);
    sweepWholeDayBlock(tick);
    // The count is read again after every session: a notice is modal and the lists may change meanwhile.
    for (int i = 0; i < sessionCount(inputs.lists); ++i) {
        runSession(tick, i);
    }
    // The edges above write the file in the ordinary course. What they can miss (midnight, a sleep
    // or a clock set forward across an edge, a session that ended while a pop-up held its tick
    // open, a hand edit, a write that failed) shows here as a block that is not what should be
    // blocked now.
    const std::optional<std::vector<std::string>> blocked = sitesBlockedNow(tick);
    if (blocked && !tick.hostsWriteFailed && (state.hostsBlock != *blocked || !actions.hostsHold(*blocked))) {
        writeHostsBlock(tick, *blocked);
    }

    if (!actions.sessionListHasSelection()) {
        actions.clearSessionPanel();
    }
}

std::vector<std::string> wholeDayHostsSites(const store::RuleLists& lists, const WholeDayPanel& panel,
                                            const LocalDateTime& now) {
    if (!ScheduledToday(store::lineAt(lists.WholeDayLines, 0), now)) {
        return {};
    }
    return panel.domains;
}

} // namespace tallowby::engine
