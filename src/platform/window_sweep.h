#pragma once
// WindowSweep: walks the top-level windows once and posts each the command the rule asks for.
#include <string>
#include <vector>

#include "engine/sweep_rules.h"
#include "platform/process_list.h"
#include "platform/window_commands.h"
#include "platform/window_list.h"

namespace tallowby::platform {

struct SweepPlatform {
    WindowLister& windows;
    ProcessLister& processes;
    WindowCommander& commander;
};

struct OwnProgram {
    std::string caption;        // the main window's current caption
    std::string executableName; // as the process snapshot reports the program itself
};

struct PostedCommand {
    WindowId window = 0;
    ProcessId pid = kNoProcess;
    std::string processName; // as judged; empty when the window's process was not found
    WindowCommand command = WindowCommand::Minimize;

    friend bool operator==(const PostedCommand&, const PostedCommand&) = default;
};

// Takes one window list and one process snapshot, judges every considered window by the process
// that owns it, and posts the rule's command as many times as the rule says. Returns what it
// posted, in order.
std::vector<PostedCommand> WindowSweep(const SweepPlatform& platform, const engine::SweepRule& rule,
                                       const OwnProgram& self);

} // namespace tallowby::platform
