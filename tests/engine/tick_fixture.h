#pragma once
// A profile in memory, a simulated clock and a recording of what each tick asked for.
#include <gtest/gtest.h>

#include "engine/tick.h"
#include "kit/recording_actions.h"
#include "store/config_lines.h"
#include "store/entry_list.h"
#include "store/reminder_records.h"
#include "store/session_records.h"
#include "support/sim_clock.h"

namespace tallowby::engine {

using kit::Act;
using kit::hms;

class TickTest : public ::testing::Test {
  protected:
    store::RuleLists lists;
    WholeDayPanel panel;
    TickState state;
    kit::SimClock clock{kit::at(2026, 12, 7, hms(8, 0))}; // a Monday
    kit::RecordingActions actions{clock, &state};
    int intervalMs = 1000;

    static constexpr const char* kMondayOnly = "0100000";
    static constexpr const char* kEveryDay = "1111111";
    static constexpr const char* kNoDay = "0000000";

    TickTest() {
        // Every option that changes the tick is off; tests switch on what they look at.
        lists.ConfigLines = {"Work", "1", "0", "0", "1", "1", "1", "10", "0", "1", "0", "0", "0", "0"};
        lists.ReminderLines = {kNoDay, "22:30", "1", "1", "1"};
        lists.WholeDayLines = {kNoDay, "0", "", ""};
        state.HostsRefreshPending = false;
        // As start-up leaves it on a day without whole-day rules: the bare block.
        state.hostsBlock = std::vector<std::string>{};
    }

    // The rules have run for a while: the hosts block holds these sites, as the program wrote them.
    void blockHolds(const std::vector<std::string>& sites) {
        state.hostsBlock = sites;
        actions.hostsFile = sites;
    }

    void config(store::ConfigLine line, const std::string& value) {
        store::setConfigValue(lists.ConfigLines, line, value);
    }

    void addSession(const std::string& start, const std::string& end, const std::string& days = kEveryDay,
                    const std::string& mode = "0", const std::string& processes = "",
                    const std::string& websites = "") {
        lists.SessionLines.insert(lists.SessionLines.end(), {start, end, days, mode, processes, websites});
        lists.SessionCount = store::sessionCount(lists.SessionLines.size());
    }

    // The whole-day file and the panel loaded from it.
    void setWholeDay(const std::string& days, const std::string& mode, const std::string& processes,
                     const std::string& websites) {
        lists.WholeDayLines = {days, mode, processes, websites};
        panel.processes = store::readEntryList(processes);
        panel.domains = store::readEntryList(websites);
        panel.focus = mode != "0";
    }

    void addReminder(const std::string& time, const std::string& days, const std::string& subject,
                     const std::string& sound = "1") {
        lists.ReminderLines.insert(lists.ReminderLines.end(), {time, sound, days, subject});
        lists.ReminderCount = store::reminderCount(lists.ReminderLines.size());
    }

    void setShutdown(const std::string& days, const std::string& time, const std::string& sound = "1") {
        lists.ReminderLines[0] = days;
        lists.ReminderLines[1] = time;
        lists.ReminderLines[3] = sound;
    }

    void tick() { runTick({lists, panel, intervalMs}, state, clock, actions); }

    void tickAt(std::int64_t msOfDay) {
        clock.setTime(msOfDay);
        tick();
    }

    // count ticks, one interval apart, the first at msOfDay.
    void ticksFrom(std::int64_t msOfDay, int count) {
        clock.setTime(msOfDay);
        for (int i = 0; i < count; ++i) {
            tick();
            clock.advance(intervalMs);
        }
    }

    // Modal windows stay open for this long while ticks go on every interval inside them.
    void modalsStayOpen(std::int64_t ms) {
        actions.whileOpen = [this, ms](const kit::ActionRecord&) {
            for (std::int64_t waited = 0; waited < ms; waited += intervalMs) {
                clock.advance(intervalMs);
                tick();
            }
        };
    }

    void noticesOn() {
        config(store::ConfigLine::SessionReminder, "1");
        config(store::ConfigLine::SessionEndReminder, "1");
    }

    std::vector<std::string> texts(Act act) const {
        std::vector<std::string> found;
        for (const kit::ActionRecord& r : actions.of(act)) {
            found.push_back(r.text);
        }
        return found;
    }
};

// Both session notices switched on.
class NoticeTickTest : public TickTest {
  protected:
    NoticeTickTest() { noticesOn(); }
};

} // namespace tallowby::engine
