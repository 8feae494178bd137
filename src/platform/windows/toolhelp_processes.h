#pragma once
// The running processes from Toolhelp snapshots, and Task Manager blocking through TerminateProcess.
#include <string>
#include <vector>

#include "platform/process_killer.h"
#include "platform/process_list.h"
#include "platform/process_tree.h"

namespace tallowby::platform::windows {

class ToolhelpProcesses : public ProcessLister, public ProcessTree {
  public:
    ProcessSnapshot snapshot() override;
    // Knows an interpreter's process by the script it runs too (pythonw.exe monitor.py answers to
    // "monitor"), as the Linux lister does; only those few processes' command lines are read.
    std::vector<ProcessId> processesNamed(std::span<const std::string> names) override;
    std::string nameOf(ProcessId pid) override;
    ProcessId parentOf(ProcessId pid) override;
    std::vector<std::string> commandLine(ProcessId pid) override;
    std::vector<ProcessId> childrenOf(ProcessId pid) override;
};

class TerminatingKiller : public ProcessEnder {
  public:
    explicit TerminatingKiller(ProcessLister& processes) : ProcessEnder(processes) {}

  protected:
    Ending end(ProcessId pid) override;
};

// The program's own process: the sweeps spare its windows and those of the processes it started.
ProcessId ownProcessId();

} // namespace tallowby::platform::windows
