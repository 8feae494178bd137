#pragma once
// The real process snapshot narrowed to the processes this test started, so that ending processes
// by name can never reach a process of the machine.
#include <algorithm>
#include <vector>

#include "platform/linux/procfs_processes.h"

namespace tallowby::platform {

class OwnChildren : public ProcessLister {
  public:
    void add(ProcessId pid) { pids_.push_back(pid); }
    ProcessSnapshot snapshot() override {
        auto all = real_.snapshot();
        std::erase_if(all, [&](const ProcessInfo& p) { return !owned(p.pid); });
        return all;
    }
    // The real lister's own search (command lines, build IDs), narrowed the same way.
    std::vector<ProcessId> processesNamed(std::span<const std::string> names) override {
        auto found = real_.processesNamed(names);
        std::erase_if(found, [&](ProcessId pid) { return !owned(pid); });
        return found;
    }
    std::string nameOf(ProcessId pid) override { return owned(pid) ? real_.nameOf(pid) : std::string(); }
    ProcessId parentOf(ProcessId pid) override { return owned(pid) ? real_.parentOf(pid) : kNoProcess; }

  private:
    bool owned(ProcessId pid) const { return std::ranges::find(pids_, pid) != pids_.end(); }

    ProcfsProcessLister real_;
    std::vector<ProcessId> pids_;
};

} // namespace tallowby::platform
