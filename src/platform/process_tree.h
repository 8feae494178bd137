#pragma once
// What a process runs and which processes it started: how a program run by an interpreter, or
// inside a terminal, is told apart from the interpreter or the terminal.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/process_list.h"

namespace tallowby::platform {

// The most of a command line read: a script's name comes early, and a process that wrote a long
// line over its arguments should not cost more than this.
inline constexpr std::size_t kMostCommandLineBytes = 64 * 1024;

class ProcessTree {
  public:
    virtual ~ProcessTree() = default;
    // The process's command line, argv[0] first; empty when it cannot be read.
    virtual std::vector<std::string> commandLine(ProcessId pid) = 0;
    // The processes this one started that still run.
    virtual std::vector<ProcessId> childrenOf(ProcessId pid) = 0;
};

} // namespace tallowby::platform
