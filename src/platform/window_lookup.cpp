#include "platform/window_lookup.h"

#include <algorithm>

namespace tallowby::platform {

ProcessId GetProcessIDbyWindowName(const std::vector<TopLevelWindow>& windows, std::string_view title) {
    const auto found =
        std::ranges::find_if(windows, [&](const TopLevelWindow& window) { return window.title == title; });
    return found == windows.end() ? kNoProcess : found->pid;
}

ProcessId GetProcessIDbyWindowName(WindowLister& windows, std::string_view title) {
    return GetProcessIDbyWindowName(windows.topLevelWindows(), title);
}

std::string GetProcessNameById(const ProcessSnapshot& snapshot, ProcessId pid) {
    if (pid == kNoProcess) {
        return {};
    }
    const auto found =
        std::ranges::find_if(snapshot, [&](const ProcessInfo& process) { return process.pid == pid; });
    return found == snapshot.end() ? std::string() : found->name;
}

std::string GetProcessNameById(ProcessLister& processes, ProcessId pid) {
    if (pid == kNoProcess) {
        return {};
    }
    return GetProcessNameById(processes.snapshot(), pid);
}

} // namespace tallowby::platform
