#pragma once
// The running processes: all of them with their executable names, or one at a time.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tallowby::platform {

using ProcessId = std::uint32_t;
inline constexpr ProcessId kNoProcess = 0;

struct ProcessInfo {
    ProcessId pid = kNoProcess;
    // The executable's file name without folder, as the platform reports it (e.g. "notepad.exe").
    std::string name;
};

// Processes in the order the platform lists them.
using ProcessSnapshot = std::vector<ProcessInfo>;

class ProcessLister {
  public:
    virtual ~ProcessLister() = default;
    virtual ProcessSnapshot snapshot() = 0;
    // The processes of a snapshot whose names match one of these (see processNameMatches), in
    // snapshot order. A lister may find them without listing every name.
    virtual std::vector<ProcessId> processesNamed(std::span<const std::string> names);
    // One process's name as snapshot() would list it, read now; empty when no such process runs.
    virtual std::string nameOf(ProcessId pid) = 0;
    // The process that started this one while that one still runs (a process whose parent ended
    // has been handed to another); kNoProcess when it cannot be told.
    virtual ProcessId parentOf(ProcessId pid) = 0;
};

} // namespace tallowby::platform
