#pragma once
// What processes run and started, read from /proc.
#include <filesystem>

#include "platform/process_tree.h"

namespace tallowby::platform {

class ProcfsProcessTree : public ProcessTree {
  public:
    explicit ProcfsProcessTree(std::filesystem::path procRoot = "/proc") : root_(std::move(procRoot)) {}
    // /proc/PID/cmdline.
    std::vector<std::string> commandLine(ProcessId pid) override;
    // /proc/PID/task/*/children: a child belongs to the thread that started it.
    std::vector<ProcessId> childrenOf(ProcessId pid) override;

  private:
    std::filesystem::path root_;
};

} // namespace tallowby::platform
