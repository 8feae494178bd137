#pragma once
// The one-second tick: decides what the rules do now and tells a TickActions what to carry out, in
// order. Steps that open a modal window return only when it is closed; every later step reads the
// clock afresh, so it sees the later time.
#include <optional>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/fired_alarms.h"
#include "engine/sweep_rules.h"
#include "store/rule_lists.h"

namespace tallowby::engine {

// The whole-day panel as loaded from the whole-day file: the sweeps and the hosts writer read these,
// the notices read WholeDayLines.
struct WholeDayPanel {
    std::vector<std::string> processes; // items of lb_wholedayprocess
    std::vector<std::string> domains;   // items of lb_wholedaydomain
    bool focus = false;                 // rb_wholedayFocus checked (else rb_wohledayblock)
};

// State kept between ticks (owned by the main window).
struct TickState {
    int CurrentSessionIndex = -1;
    bool HostsRefreshPending = true;
    bool AlarmSoundFlag = false;
    // Where the span of time the last tick answered for ended (localMs), and when that end comes in
    // real time (Clock::sinceBootMs). A timer never fires exactly one interval apart: a tick a
    // little late would leave a gap in which an event is never due, a tick a little early an
    // overlap in which it is due twice. So each tick takes up where the last one ended, unless
    // more than a few ticks' real time passed since (a stop, a pause, a sleep: what passed then is
    // skipped, not made up). A wall clock set forward between two ticks (a time correction, the
    // start of summer time) is taken up too, up to an hour of it: what it jumped over fires once.
    std::optional<std::int64_t> answeredUntil;
    std::int64_t answeredUntilSinceBoot = 0;
    // The reminders, shutdown warnings, shutdowns and notices that fired, by day: a wall clock set
    // back brings their moment round again, and they do not fire twice that day.
    FiredAlarms fired;
    // The sites the program's block in the hosts file was last written with, by the tick or by
    // anything else the program did (Run, Stop, a whole-day edit); nothing when the last write
    // failed. Each tick compares it with what should be blocked now, so a missed edge (a sleep, a
    // stall, midnight) or a failed write is made good at the next tick.
    std::optional<std::vector<std::string>> hostsBlock;
};

struct HeaderTexts {
    std::string clock;        // lb_clock, "hh-mm-ss"
    std::string profile;      // lb_profile
    std::string todayCaption; // gb_today caption, "Today"
    std::string today;        // lb_today, "mm/dd/yyyy  Dayname"
};

// What the tick asks the program to do, called in the tick's own order. Methods that show a modal
// window return after it has closed (and further ticks may have run meanwhile).
class TickActions {
  public:
    virtual ~TickActions() = default;
    virtual void showHeader(const HeaderTexts& texts) = 0;
    virtual void showCurrentSession(const std::string& text) = 0; // lb_current
    virtual void killTaskManager() = 0;
    virtual void showReminder(const std::string& caption, const std::string& subject) = 0;
    virtual void showShutdownWarning(const std::string& caption) = 0;
    virtual void startShutdown() = 0;
    virtual void sweepWindows(const SweepRule& rule) = 0;
    virtual void showNotice(const std::string& text) = 0;
    // Writes the hosts file with the localhost line and these sites in order. false when the write
    // failed (the program has told the user); the rest of the tick's session step is then skipped.
    virtual bool writeHosts(const std::vector<std::string>& sites) = 0;
    // Whether the hosts file still holds the program's block with exactly these sites (someone may
    // have edited or replaced it). Called every tick: it must be cheap when nothing changed.
    virtual bool hostsHold(const std::vector<std::string>& sites) = 0;
    virtual bool sessionListHasSelection() = 0;
    virtual void clearSessionPanel() = 0;
};

struct TickInputs {
    const store::RuleLists& lists;
    const WholeDayPanel& wholeDay;
    int intervalMs = 1000;
};

void runTick(const TickInputs& inputs, TickState& state, const Clock& clock, TickActions& actions);

// What WriteWholeDayHosts writes: the whole-day websites when the whole-day days select today,
// otherwise no websites.
std::vector<std::string> wholeDayHostsSites(const store::RuleLists& lists, const WholeDayPanel& panel,
                                            const LocalDateTime& now);

} // namespace tallowby::engine
