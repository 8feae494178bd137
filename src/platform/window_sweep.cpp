#include "platform/window_sweep.h"

#include <algorithm>

namespace tallowby::platform {

namespace {

// Deeper than any real process tree: a longer chain is a loop in what the lister reports.
constexpr int kMostAncestors = 256;

bool descendsFrom(ProcessLister& processes, ProcessId pid, ProcessId ancestor) {
    for (int depth = 0; depth < kMostAncestors && pid != kNoProcess; ++depth) {
        pid = processes.parentOf(pid);
        if (pid == ancestor) {
            return true;
        }
    }
    return false;
}

} // namespace

WindowOwners::Owner& WindowOwners::ownerOf(const TopLevelWindow& window, ProcessLister& processes) {
    const auto [found, added] = owners_.try_emplace({window.id, window.pid});
    if (added && window.pid != kNoProcess) {
        found->second.name = processes.nameOf(window.pid);
    }
    return found->second;
}

const std::string& WindowOwners::nameOf(const TopLevelWindow& window, ProcessLister& processes) {
    return ownerOf(window, processes).name;
}

bool WindowOwners::startedBy(ProcessId self, const TopLevelWindow& window, ProcessLister& processes) {
    if (window.pid == kNoProcess || self == kNoProcess) {
        return false;
    }
    if (window.pid == self) {
        return true;
    }
    // A process that does not descend from the program now never will: an orphan is handed to an
    // ancestor of its own, never to a stranger. One that does stays one the program started.
    Owner& owner = ownerOf(window, processes);
    if (!owner.descends || owner.ancestor != self) {
        owner.ancestor = self;
        owner.descends = descendsFrom(processes, window.pid, self);
    }
    return *owner.descends;
}

void WindowOwners::keepOnly(const std::vector<TopLevelWindow>& windows) {
    std::vector<std::pair<WindowId, ProcessId>> listed;
    listed.reserve(windows.size());
    for (const auto& window : windows) {
        listed.emplace_back(window.id, window.pid);
    }
    std::ranges::sort(listed);
    std::erase_if(owners_,
                  [&](const auto& entry) { return !std::ranges::binary_search(listed, entry.first); });
}

const std::vector<TopLevelWindow>& TickSweeps::windows() {
    if (!windows_) {
        windows_ = platform_.windows.topLevelWindows();
        platform_.owners.keepOnly(*windows_);
    }
    return *windows_;
}

std::vector<PostedCommand> TickSweeps::sweep(const engine::SweepRule& rule) {
    std::vector<PostedCommand> posted;
    for (const auto& window : windows()) {
        if (!engine::windowConsidered(window.title, window.visible) ||
            (window.pid != kNoProcess && window.pid == self_)) {
            continue;
        }
        const std::string& name = platform_.owners.nameOf(window, platform_.processes);
        const int times = engine::commandsForWindow(rule, name);
        // Whether a process descends from the program is asked only of windows about to be acted on.
        if (times == 0 || platform_.owners.startedBy(self_, window, platform_.processes)) {
            continue;
        }
        for (int i = 0; i < times; ++i) {
            platform_.commander.post(window.id, rule.command);
            posted.push_back({window.id, window.pid, name, rule.command});
        }
    }
    return posted;
}

std::vector<PostedCommand> WindowSweep(const SweepPlatform& platform, const engine::SweepRule& rule,
                                       ProcessId self) {
    return TickSweeps(platform, self).sweep(rule);
}

} // namespace tallowby::platform
