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

namespace tallowby::platform {

// What the sweeps keep from tick to tick about the processes that own windows. A process gets
// another name only by running another program, and that drops its X connection (X clients open it
// close-on-exec) and with it its windows: the next program's windows are new windows. So a window's
// process is named once, when that window of that process is first seen, instead of every tick.
class WindowOwners {
  public:
    // The name of the window's process, empty when it cannot be told.
    const std::string& nameOf(const TopLevelWindow& window, ProcessLister& processes);
    // Whether the window's process is `self` or one `self` started (directly or through others).
    bool startedBy(ProcessId self, const TopLevelWindow& window, ProcessLister& processes);
    // Forgets every window that is not in the list.
    void keepOnly(const std::vector<TopLevelWindow>& windows);
    std::size_t size() const { return owners_.size(); }

  private:
    struct Owner {
        std::string name;
        // Whether the process descends from `ancestor`, once asked.
        ProcessId ancestor = kNoProcess;
        std::optional<bool> descends;
    };
    Owner& ownerOf(const TopLevelWindow& window, ProcessLister& processes);

    std::map<std::pair<WindowId, ProcessId>, Owner> owners_;
};

struct SweepPlatform {
    WindowLister& windows;
    ProcessLister& processes;
    WindowCommander& commander;
    WindowOwners& owners;
};

struct PostedCommand {
    WindowId window = 0;
    ProcessId pid = kNoProcess;
    std::string processName; // as judged; empty when the window's process was not found
    WindowCommand command = WindowCommand::Minimize;

    friend bool operator==(const PostedCommand&, const PostedCommand&) = default;
};

// The sweeps of one tick. The window list is taken at the first sweep and serves the later ones,
// so a tick's whole-day and session sweeps cost one listing between them. Every window is judged by
// the process that owns it; the windows of `self` (the program) and of the processes it started
// are never acted on.
class TickSweeps {
  public:
    TickSweeps(const SweepPlatform& platform, ProcessId self) : platform_(platform), self_(self) {}

    // Posts the rule's command as many times as the rule says to each window it applies to, and
    // returns what it posted, in order.
    std::vector<PostedCommand> sweep(const engine::SweepRule& rule);
    // The next sweep lists the windows afresh: for a tick that waited on a pop-up meanwhile.
    void forgetWindows() { windows_.reset(); }

  private:
    const std::vector<TopLevelWindow>& windows();

    SweepPlatform platform_;
    ProcessId self_;
    std::optional<std::vector<TopLevelWindow>> windows_;
};

// One sweep on a window list of its own.
std::vector<PostedCommand> WindowSweep(const SweepPlatform& platform, const engine::SweepRule& rule,
                                       ProcessId self);

} // namespace tallowby::platform
