#include "platform/fake/fake_platform.h"

#include <algorithm>

namespace tallowby::platform {

std::vector<TopLevelWindow> FakePlatform::topLevelWindows() {
    ++windowListings;
    return windows;
}

ProcessSnapshot FakePlatform::snapshot() {
    ++snapshots;
    return processes;
}

std::string FakePlatform::nameOf(ProcessId pid) {
    ++nameReads;
    const auto found = std::ranges::find(processes, pid, &ProcessInfo::pid);
    return found == processes.end() ? std::string() : found->name;
}

ProcessId FakePlatform::parentOf(ProcessId pid) {
    const auto found = parents.find(pid);
    return found == parents.end() ? kNoProcess : found->second;
}

std::vector<std::string> FakePlatform::commandLine(ProcessId pid) {
    const auto found = commandLines.find(pid);
    return found == commandLines.end() ? std::vector<std::string>() : found->second;
}

std::vector<ProcessId> FakePlatform::childrenOf(ProcessId pid) {
    std::vector<ProcessId> children;
    for (const auto& [child, parent] : parents) {
        if (parent == pid) {
            children.push_back(child);
        }
    }
    return children;
}

void FakePlatform::post(WindowId window, WindowCommand command) {
    posts.push_back({window, command});
}

ProgramReach FakePlatform::reachOf(std::string_view name) {
    if (const auto found = launchers.find(name); found != launchers.end())
        return found->second;
    return {.names = {std::string(name)}};
}

std::vector<ProcessId> FakePlatform::killProcessesByName(std::span<const std::string> names) {
    const auto targets = matchingProcesses(snapshot(), names);
    const auto ended = [&](ProcessId pid) { return std::ranges::find(targets, pid) != targets.end(); };
    std::erase_if(processes, [&](const ProcessInfo& process) { return ended(process.pid); });
    std::erase_if(windows, [&](const TopLevelWindow& window) { return ended(window.pid); });
    killed.insert(killed.end(), targets.begin(), targets.end());
    return targets;
}

} // namespace tallowby::platform
