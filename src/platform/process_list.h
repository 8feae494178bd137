#pragma once
// A snapshot of the running processes with their executable names.
#include <cstdint>
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
};

} // namespace tallowby::platform
