#pragma once
// Ending processes by executable name: used for Task Manager and the desktops' system monitors.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/process_list.h"

namespace tallowby::platform {

class ProcessKiller {
  public:
    virtual ~ProcessKiller() = default;
    // Ends, without asking, every process whose name matches one of the names (see
    // processNameMatches), all from one snapshot. Returns the processes it tried to end; failures
    // (no rights, already gone) are ignored.
    virtual std::vector<ProcessId> killProcessesByName(std::span<const std::string> names) = 0;
};

// A reported name matches when it, or its file-name part, equals the wanted name ignoring the letter
// case of ASCII letters.
bool processNameMatches(std::string_view reported, std::string_view wanted);

// The processes of a snapshot that match one of the names, in snapshot order.
std::vector<ProcessId> matchingProcesses(const ProcessSnapshot& snapshot, std::span<const std::string> names);

std::vector<ProcessId> KillProcessByName(ProcessKiller& killer, const std::string& name);

// The programs that "Block Task Manager" ends: Windows' Task Manager and the Linux desktops'
// system monitors.
const std::vector<std::string>& taskManagerNames();

std::vector<ProcessId> KillTaskManager(ProcessKiller& killer);

} // namespace tallowby::platform
