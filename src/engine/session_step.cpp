// One session's part of the tick: its notices, and while it is current the hosts file and its sweep.
#include "engine/entry_list.h"
#include "engine/notices.h"
#include "engine/record_lines.h"
#include "engine/tick_steps.h"
#include "engine/time_rules.h"
#include "store/config_lines.h"
#include "store/line_values.h"
#include "store/time_of_day.h"
#include "store/week_days.h"

namespace tallowby::engine {

namespace {

using NoticeText = std::string (*)(const SessionRecord&, const WholeDayRecord*);

// A notice concerns the day its time falls on, which near midnight is tomorrow: the session's days
// and the whole-day days are both tested against that day. It fires once that day, however the
// wall clock is set meanwhile; kind and index name it among the alarms that fired.
void noticeIfDue(const TickContext& tick, const SessionRecord& session, std::int64_t timeMs, const char* kind,
                 int index, NoticeText text) {
    const std::optional<std::int64_t> date = tick.dueOn(timeMs);
    const int day = date ? tick.weekDayOn(*date) : 0;
    if (!store::scheduledOn(session.weekDays, day)) {
        return;
    }
    const std::string alarm = kind + std::to_string(index) + " " + session.start + "-" + session.end;
    if (!tick.firstFiring(alarm, *date)) {
        return;
    }
    const WholeDayRecord wholeDay = wholeDayRecord(tick.lists().WholeDayLines);
    const bool wholeDayToo = store::scheduledOn(wholeDay.weekDays, day);
    tick.actions.showNotice(text(session, wholeDayToo ? &wholeDay : nullptr));
}

std::vector<std::string> joined(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<std::string> sessionSites(const SessionRecord& session) {
    return filledEntries(SplitEntryList(session.websites));
}

// The hosts file of the current session. false when a write failed, which skips the session's sweep.
bool updateHosts(const TickContext& tick, const SessionRecord& session, std::int64_t start,
                 std::int64_t end) {
    const std::vector<std::string> current = joined(sessionSites(session), tick.inputs.wholeDay.domains);
    // After the session what stays blocked is what is blocked outside sessions: the whole-day
    // websites on a whole-day day, else none.
    const std::vector<std::string> wholeDaySites =
        wholeDayHostsSites(tick.lists(), tick.inputs.wholeDay, tick.now());
    if (tick.state.HostsRefreshPending) {
        // Cleared before writing, so a failing write is reported once and not every second.
        tick.state.HostsRefreshPending = false;
        if (!writeHostsBlock(tick, current))
            return false;
        // Rules started in the session's last second: its end still gives its websites up, or they
        // would stay blocked until the next session.
        return tick.dueDay(end) == 0 || writeHostsBlock(tick, wholeDaySites);
    }
    if (tick.startJustPassed(start) && !writeHostsBlock(tick, current)) {
        return false;
    }
    if (tick.dueDay(end) != 0 && !writeHostsBlock(tick, wholeDaySites)) {
        return false;
    }
    return true;
}

void sweepSession(const TickContext& tick, const SessionRecord& session) {
    const SweepKind kind = session.mode == "1" ? SweepKind::SessionFocus : SweepKind::SessionBlock;
    SweepRule rule = tick.sweepRule(kind, SplitEntryList(session.processes));
    const WholeDayPanel& panel = tick.inputs.wholeDay;
    if (panel.focus && !panel.processes.empty() &&
        ScheduledToday(store::lineAt(tick.lists().WholeDayLines, 0), tick.now())) {
        rule.wholeDayFocusNames = panel.processes;
    }
    tick.actions.sweepWindows(rule);
}

} // namespace

bool writeHostsBlock(const TickContext& tick, const std::vector<std::string>& sites) {
    const bool written = tick.actions.writeHosts(sites);
    if (written) {
        tick.state.hostsBlock = sites;
    } else {
        tick.state.hostsBlock.reset();
        tick.hostsWriteFailed = true;
    }
    return written;
}

std::optional<std::vector<std::string>> sitesBlockedNow(const TickContext& tick) {
    const int current = tick.state.CurrentSessionIndex;
    if (current < 0 || current >= sessionCount(tick.lists()))
        return wholeDayHostsSites(tick.lists(), tick.inputs.wholeDay, tick.now());
    const SessionRecord session = sessionRecord(tick.lists().SessionLines, current);
    const std::optional<std::int64_t> start = store::readTimeOfDay(session.start);
    const std::optional<std::int64_t> end = store::readTimeOfDay(session.end);
    if (start && CompareTimeOfDay(tick.now().msOfDay, *start) == 0)
        return std::nullopt;
    // The session ends within this tick: its end has given its websites up already.
    if (end && tick.dueDay(*end) != 0)
        return wholeDayHostsSites(tick.lists(), tick.inputs.wholeDay, tick.now());
    return joined(sessionSites(session), tick.inputs.wholeDay.domains);
}

void runSession(const TickContext& tick, int index) {
    const SessionRecord session = sessionRecord(tick.lists().SessionLines, index);
    const std::optional<std::int64_t> start = store::readTimeOfDay(session.start);
    const std::optional<std::int64_t> end = store::readTimeOfDay(session.end);
    if (!start || !end) {
        return;
    }
    if (store::configFlag(tick.lists().ConfigLines, store::ConfigLine::SessionReminder)) {
        noticeIfDue(tick, session, *start - kTenMinutesMs, "before session ", index, PreSessionNoticeText);
    }
    if (store::configFlag(tick.lists().ConfigLines, store::ConfigLine::SessionEndReminder)) {
        noticeIfDue(tick, session, *end, "session end ", index, SessionEndNoticeText);
    }
    const LocalDateTime now = tick.now();
    if (!inSessionWindow(*start, *end, now.msOfDay)) {
        // The session's end fell in this tick's window, but the session is no longer current: a
        // pop-up kept the tick open past the end, or the tick itself came a little late. Its
        // websites are given up at the end of the tick; a session that became current meanwhile
        // writes its own through the refresh flag.
        const int endDay = tick.dueDay(*end);
        if (endDay != 0 && store::scheduledOn(session.weekDays, endDay) &&
            inSessionWindow(*start, *end, tick.windowStart)) {
            tick.state.HostsRefreshPending = true;
        }
        return;
    }
    if (!ScheduledToday(session.weekDays, now)) {
        tick.actions.showCurrentSession("No session");
        tick.state.CurrentSessionIndex = -1;
        return;
    }
    tick.actions.showCurrentSession(session.start + "-" + session.end);
    tick.state.CurrentSessionIndex = index;
    if (updateHosts(tick, session, *start, *end)) {
        sweepSession(tick, session);
    }
}

} // namespace tallowby::engine
