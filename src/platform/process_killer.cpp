#include "platform/process_killer.h"

#include <algorithm>

#include "engine/program_choice.h"
#include "platform/program_command.h"
#include "platform/system_monitors.h"

namespace tallowby::platform {

bool processNameMatches(std::string_view reported, std::string_view wanted) {
    return engine::sameName(reported, wanted) || engine::sameName(programFileName(reported), wanted);
}

bool processAnswersTo(std::string_view name, std::span<const std::string> commandNames,
                      std::string_view wanted) {
    if (processNameMatches(name, wanted)) {
        return true;
    }
    const std::string_view file = programFileName(name);
    if (!file.empty() && engine::sameName(bareProgramName(file), wanted)) {
        return true;
    }
    return std::ranges::any_of(commandNames,
                               [&](const std::string& other) { return engine::sameName(other, wanted); });
}

std::vector<ProcessId> ProcessEnder::killProcessesByName(std::span<const std::string> names) {
    const std::vector<ProcessId> targets = processes_.processesNamed(names);
    for (const ProcessId pid : targets) {
        end(pid);
    }
    return targets;
}

KillReport ProcessEnder::killProcesses(std::span<const std::string> names) {
    KillReport report;
    std::set<ProcessId> refused;
    for (const ProcessId pid : processes_.processesNamed(names)) {
        const Ending ending = end(pid);
        if (ending == Ending::Ended) {
            report.ended.push_back(pid);
        } else if (ending == Ending::Refused) {
            refused.insert(pid);
            if (!refused_.contains(pid)) {
                report.refused.push_back({pid, processes_.nameOf(pid)});
            }
        }
    }
    refused_ = std::move(refused);
    return report;
}

std::vector<ProcessId> matchingProcesses(const ProcessSnapshot& snapshot, std::span<const std::string> names,
                                         const CommandNamesOf& commandNamesOf) {
    std::vector<ProcessId> found;
    for (const auto& process : snapshot) {
        const std::vector<std::string> commandNames =
            commandNamesOf ? commandNamesOf(process) : std::vector<std::string>();
        const bool wanted = std::ranges::any_of(names, [&](const std::string& name) {
            return processAnswersTo(process.name, commandNames, name);
        });
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
    return systemMonitorPrograms();
}

KillReport KillTaskManager(ProcessKiller& killer) {
    return killer.killProcesses(taskManagerNames());
}

} // namespace tallowby::platform
