#pragma once
// What a process runs and which processes it started: how a program run by an interpreter, or
// inside a terminal, is told apart from the interpreter or the terminal.
#include <string>
#include <vector>

#include "platform/process_list.h"

namespace tallowby::platform {

class ProcessTree {
  public:
    virtual ~ProcessTree() = default;
    // The process's command line, argv[0] first; empty when it cannot be read.
    virtual std::vector<std::string> commandLine(ProcessId pid) = 0;
    // The processes this one started that still run.
    virtual std::vector<ProcessId> childrenOf(ProcessId pid) = 0;
};

} // namespace tallowby::platform
