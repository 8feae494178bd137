#include "platform/process_killer.h"

#include <algorithm>

namespace tallowby::platform {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string_view fileNamePart(std::string_view name) {
    const auto slash = name.find_last_of("/\\");
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

} // namespace

bool processNameMatches(std::string_view reported, std::string_view wanted) {
    return equalIgnoringCase(reported, wanted) || equalIgnoringCase(fileNamePart(reported), wanted);
}

std::vector<ProcessId> matchingProcesses(const ProcessSnapshot& snapshot,
                                         std::span<const std::string> names) {
    std::vector<ProcessId> found;
    for (const auto& process : snapshot) {
        const bool wanted = std::ranges::any_of(
            names, [&](const std::string& name) { return processNameMatches(process.name, name); });
        if (wanted) {
            found.push_back(process.pid);
        }
    }
    return found;
}

std::vector<ProcessId> ProcessLister::processesNamed(std::span<const std::string> names) {
    return matchingProcesses(snapshot(), names);
}

std::vector<ProcessId> KillProcessByName(ProcessKiller& killer, const std::string& name) {
    return killer.killProcessesByName(std::span(&name, 1));
}

const std::vector<std::string>& taskManagerNames() {
    static const std::vector<std::string> names{
        "taskmgr.exe",          "gnome-system-monitor",
        "plasma-systemmonitor", "ksysguard",
        "xfce4-taskmanager",    "lxtask",
        "mate-system-monitor",  "qps",
    };
    return names;
}

std::vector<ProcessId> KillTaskManager(ProcessKiller& killer) {
    return killer.killProcessesByName(taskManagerNames());
}

} // namespace tallowby::platform
