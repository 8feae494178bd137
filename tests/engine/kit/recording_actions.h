#pragma once
// A TickActions that writes down what the tick asked for, in order. A modal action (reminder,
// shutdown warning, notice) calls the whileOpen hook before it returns, so a test can let time pass
// or run nested ticks while the window is "open".
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/tick.h"

namespace tallowby::engine::kit {

enum class Act {
    Header,
    CurrentSession,
    KillTaskManager,
    Reminder,
    ShutdownWarning,
    Shutdown,
    Sweep,
    Notice,
    Hosts,
    ClearSessionPanel
};

struct ActionRecord {
    Act act;
    std::string text;               // caption, notice text, lb_current text
    std::string detail;             // reminder subject
    std::vector<std::string> sites; // hosts writes
    SweepRule rule;                 // sweeps
    HeaderTexts header;
    LocalDateTime at;        // the clock when the action was asked for
    bool alarmSound = false; // AlarmSoundFlag at that moment (when a state is watched)
};

class RecordingActions : public TickActions {
  public:
    explicit RecordingActions(const Clock& clock, const TickState* state = nullptr)
        : clock_(clock), state_(state) {}

    std::vector<ActionRecord> records;
    bool hostsWriteSucceeds = true;
    // The sites of the block the hosts file holds: what the last successful write left, unless a
    // test edits the file behind the program's back. The program starts with the bare block.
    std::optional<std::vector<std::string>> hostsFile = std::vector<std::string>{};
    bool sessionSelected = false;
    std::function<void(const ActionRecord&)> whileOpen;

    std::vector<ActionRecord> of(Act act) const {
        std::vector<ActionRecord> found;
        for (const ActionRecord& r : records) {
            if (r.act == act) {
                found.push_back(r);
            }
        }
        return found;
    }
    std::size_t count(Act act) const { return of(act).size(); }
    std::vector<Act> sequence() const {
        std::vector<Act> acts;
        for (const ActionRecord& r : records) {
            acts.push_back(r.act);
        }
        return acts;
    }

    void showHeader(const HeaderTexts& texts) override {
        ActionRecord& r = add(Act::Header);
        r.header = texts;
    }
    void showCurrentSession(const std::string& text) override { add(Act::CurrentSession).text = text; }
    void killTaskManager() override { add(Act::KillTaskManager); }
    void showReminder(const std::string& caption, const std::string& subject) override {
        ActionRecord& r = add(Act::Reminder);
        r.text = caption;
        r.detail = subject;
        open(r);
    }
    void showShutdownWarning(const std::string& caption) override {
        open(add(Act::ShutdownWarning, caption));
    }
    void startShutdown() override { add(Act::Shutdown); }
    void sweepWindows(const SweepRule& rule) override { add(Act::Sweep).rule = rule; }
    void showNotice(const std::string& text) override { open(add(Act::Notice, text)); }
    bool writeHosts(const std::vector<std::string>& sites) override {
        add(Act::Hosts).sites = sites;
        if (hostsWriteSucceeds)
            hostsFile = sites;
        return hostsWriteSucceeds;
    }
    bool hostsHold(const std::vector<std::string>& sites) override { return hostsFile == sites; }
    bool sessionListHasSelection() override { return sessionSelected; }
    void clearSessionPanel() override { add(Act::ClearSessionPanel); }

  private:
    ActionRecord& add(Act act, std::string text = {}) {
        ActionRecord r{act, std::move(text), {}, {}, {}, {}, clock_.now(), state_ && state_->AlarmSoundFlag};
        records.push_back(std::move(r));
        return records.back();
    }
    // The hook may run nested ticks that add records, so it gets a copy.
    void open(const ActionRecord& r) {
        if (whileOpen) {
            const ActionRecord copy = r;
            whileOpen(copy);
        }
    }

    const Clock& clock_;
    const TickState* state_;
};

} // namespace tallowby::engine::kit
