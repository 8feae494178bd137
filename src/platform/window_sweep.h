#pragma once
// The window sweeps: walk the top-level windows and post each the command the rule asks for.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/sweep_rules.h"
#include "platform/process_list.h"
#include "platform/window_commands.h"
#include "platform/window_list.h"
#include "platform/window_names.h"

namespace tallowby::platform {

// What the sweeps keep from tick to tick about the processes that own windows. A process gets
// another name only by running another program, and that drops its X connection (X clients open it
// close-on-exec) and with it its windows: the next program's windows are new windows. So a window's
// names are worked out once, when that window of that process is first seen (and again when it
// takes another class), instead of every tick. Only what runs in a terminal is looked at anew.
class WindowOwners {
  public:
    // The names the window's program is known by, none when they cannot be told.
    const WindowNamer::Lasting& namesOf(const TopLevelWindow& window, WindowNamer& namer);
    // Whether the window's process is `self` or one `self` started (directly or through others).
    bool startedBy(ProcessId self, const TopLevelWindow& window, ProcessLister& processes);
    // Forgets every window that is not in the list, and the close requests of programs that have no
    // window left.
    void keepOnly(const std::vector<TopLevelWindow>& windows);
    std::size_t size() const { return owners_.size(); }

    // A program asked to close a window may ask first ("Save changes?"). Asked again every second it
    // would bury its own question under new ones, and a wrong click loses the user's work. So each
    // program is asked once: its windows get no command while it has the time to answer, and are
    // minimised from then on, question included, for as long as they stay.
    static constexpr int kTicksToAnswerClose = 3;
    // The command to post now to a window of this program when the rule says `wanted`.
    std::optional<WindowCommand> commandFor(const TopLevelWindow& window, WindowCommand wanted);
    // Counts the ticks for kTicksToAnswerClose.
    void beginTick() { ++tick_; }

  private:
    struct Owner {
        WindowNamer::Lasting names;
        // The class the names were worked out for: a window that takes another is named anew.
        std::string instanceName;
        std::string className;
        std::string applicationId;
        // Whether the process descends from `ancestor`, once asked.
        ProcessId ancestor = kNoProcess;
        std::optional<bool> descends;
    };
    Owner& ownerOf(const TopLevelWindow& window);
    // A program is its process, or the window alone where its process cannot be told.
    static std::pair<ProcessId, WindowId> programOf(const TopLevelWindow& window);

    std::map<std::pair<WindowId, ProcessId>, Owner> owners_;
    // The tick at which each program was asked to close a window.
    std::map<std::pair<ProcessId, WindowId>, long long> closeAsked_;
    long long tick_ = 0;
};

struct SweepPlatform {
    WindowLister& windows;
    ProcessLister& processes;
    WindowCommander& commander;
    WindowOwners& owners;
    WindowNamer& namer;
};

struct PostedCommand {
    WindowId window = 0;
    ProcessId pid = kNoProcess;
    std::string processName; // the executable's name; empty when the window's process was not found
    WindowCommand command = WindowCommand::Minimize;

    friend bool operator==(const PostedCommand&, const PostedCommand&) = default;
};

// The sweeps of one tick. The window list is taken at the first sweep and serves the later ones,
// so a tick's whole-day and session sweeps cost one listing between them. Every window is judged by
// the process that owns it; the windows of `self` (the program) and of the processes it started
// are never acted on.
class TickSweeps {
  public:
    TickSweeps(const SweepPlatform& platform, ProcessId self) : platform_(platform), self_(self) {
        platform_.owners.beginTick();
    }

    // Posts the rule's command as many times as the rule says to each window it applies to, and
    // returns what it posted, in order.
    std::vector<PostedCommand> sweep(const engine::SweepRule& rule);
    // The next sweep lists the windows afresh: for a tick that waited on a pop-up meanwhile.
    void forgetWindows() {
        windows_.reset();
        terminalNames_.clear();
    }

  private:
    const std::vector<TopLevelWindow>& windows();
    // The window's names with, for a terminal, what runs in it now (read once a tick per terminal).
    const std::vector<std::string>& namesOf(const TopLevelWindow& window,
                                            const WindowNamer::Lasting& lasting);
    // Whether the listed name leads to a program known by one of the names.
    bool reaches(const std::string& listed, const std::vector<std::string>& names);

    SweepPlatform platform_;
    ProcessId self_;
    std::optional<std::vector<TopLevelWindow>> windows_;
    std::map<ProcessId, std::vector<std::string>> terminalNames_;
    // Where each listed name leads, worked out once a tick.
    std::map<std::string, std::vector<std::string>, std::less<>> reached_;
};

// One sweep on a window list of its own.
std::vector<PostedCommand> WindowSweep(const SweepPlatform& platform, const engine::SweepRule& rule,
                                       ProcessId self);

} // namespace tallowby::platform
