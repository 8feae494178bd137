#include "platform/window_sweep.h"

#include <algorithm>

#include "engine/program_choice.h"

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

WindowOwners::Owner& WindowOwners::ownerOf(const TopLevelWindow& window) {
    return owners_[{window.id, window.pid}];
}

const WindowNamer::Lasting& WindowOwners::namesOf(const TopLevelWindow& window, WindowNamer& namer) {
    const auto [found, added] = owners_.try_emplace({window.id, window.pid});
    Owner& owner = found->second;
    if (added || owner.instanceName != window.instanceName || owner.className != window.className ||
        owner.applicationId != window.applicationId) {
        owner.names = namer.lastingNamesOf(window);
        owner.instanceName = window.instanceName;
        owner.className = window.className;
        owner.applicationId = window.applicationId;
    }
    return owner.names;
}

std::pair<ProcessId, WindowId> WindowOwners::programOf(const TopLevelWindow& window) {
    return window.pid != kNoProcess ? std::pair<ProcessId, WindowId>{window.pid, 0}
                                    : std::pair<ProcessId, WindowId>{kNoProcess, window.id};
}

std::optional<WindowCommand> WindowOwners::commandFor(const TopLevelWindow& window, WindowCommand wanted) {
    if (wanted != WindowCommand::Close) {
        return wanted;
    }
    const auto [asked, first] = closeAsked_.try_emplace(programOf(window), tick_);
    if (first || asked->second == tick_) {
        return WindowCommand::Close; // every window the program has now is asked in the same tick
    }
    if (tick_ - asked->second < kTicksToAnswerClose) {
        return std::nullopt;
    }
    return WindowCommand::Minimize;
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
    Owner& owner = ownerOf(window);
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
    std::vector<std::pair<ProcessId, WindowId>> programs;
    programs.reserve(windows.size());
    for (const auto& window : windows) {
        programs.push_back(programOf(window));
    }
    std::ranges::sort(programs);
    std::erase_if(closeAsked_,
                  [&](const auto& entry) { return !std::ranges::binary_search(programs, entry.first); });
}

const std::vector<TopLevelWindow>& TickSweeps::windows() {
    if (!windows_) {
        windows_ = platform_.windows.topLevelWindows();
        platform_.owners.keepOnly(*windows_);
    }
    return *windows_;
}

const std::vector<std::string>& TickSweeps::namesOf(const TopLevelWindow& window,
                                                    const WindowNamer::Lasting& lasting) {
    if (!lasting.terminal) {
        return lasting.names.all;
    }
    const auto [found, added] = terminalNames_.try_emplace(window.pid);
    if (added) {
        found->second = lasting.names.all;
        for (const std::string& name : platform_.namer.runningIn(window.pid)) {
            addName(found->second, name);
        }
    }
    return found->second;
}

bool TickSweeps::reaches(const std::string& listed, const std::vector<std::string>& names) {
    if (!platform_.namer.followsLaunchers()) {
        return false;
    }
    auto found = reached_.find(listed);
    if (found == reached_.end()) {
        found = reached_.emplace(listed, platform_.namer.reachOf(listed).names).first;
    }
    return std::ranges::any_of(found->second, [&](const std::string& name) {
        return std::ranges::any_of(names,
                                   [&](const std::string& known) { return engine::namesMatch(name, known); });
    });
}

std::vector<PostedCommand> TickSweeps::sweep(const engine::SweepRule& rule) {
    std::vector<PostedCommand> posted;
    std::vector<std::string> judged;
    for (const auto& window : windows()) {
        if (!engine::windowConsidered(window.title, window.visible, window.normalOrDialog) ||
            (window.pid != kNoProcess && window.pid == self_)) {
            continue;
        }
        const WindowNamer::Lasting& lasting = platform_.owners.namesOf(window, platform_.namer);
        const std::vector<std::string>& names = namesOf(window, lasting);
        // A listed launcher ("lowriter") names the window of the program it leads to.
        judged.clear();
        for (const auto* list : {&rule.names, &rule.wholeDayFocusNames}) {
            for (const std::string& listed : *list) {
                if (!engine::entryNames(listed, names) && reaches(listed, names)) {
                    if (judged.empty()) {
                        judged = names;
                    }
                    addName(judged, listed);
                }
            }
        }
        const int times = engine::commandsForWindow(rule, judged.empty() ? names : judged);
        // Whether a process descends from the program is asked only of windows about to be acted on.
        if (times == 0 || platform_.owners.startedBy(self_, window, platform_.processes)) {
            continue;
        }
        const std::optional<WindowCommand> command = platform_.owners.commandFor(window, rule.command);
        for (int i = 0; command && i < times; ++i) {
            platform_.commander.post(window.id, *command);
            posted.push_back({window.id, window.pid, lasting.names.executable, *command});
        }
    }
    return posted;
}

std::vector<PostedCommand> WindowSweep(const SweepPlatform& platform, const engine::SweepRule& rule,
                                       ProcessId self) {
    return TickSweeps(platform, self).sweep(rule);
}

} // namespace tallowby::platform
