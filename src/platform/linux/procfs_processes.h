#pragma once
// Processes on Linux, read from /proc.
#include <filesystem>
#include <string>

#include "platform/process_killer.h"
#include "platform/process_list.h"

namespace tallowby::platform {

// A process's name is the file name of its executable (/proc/PID/exe), without the " (deleted)" mark
// the kernel adds once the file was replaced, so a program still running after an upgrade keeps its
// name. When the link cannot be read (kernel threads, other users' processes without the rights) the
// name is /proc/PID/comm, which the kernel cuts to 15 characters: such processes are listed under a
// name rather than left out, as Windows lists every process.
class ProcfsProcessLister : public ProcessLister {
  public:
    explicit ProcfsProcessLister(std::filesystem::path procRoot = "/proc") : root_(std::move(procRoot)) {}
    ProcessSnapshot snapshot() override;

  private:
    std::filesystem::path root_;
};

// Ends processes with SIGKILL: the programs it is used on must not get a chance to refuse.
class SignalProcessKiller : public ProcessKiller {
  public:
    explicit SignalProcessKiller(ProcessLister& processes) : processes_(processes) {}
    std::vector<ProcessId> killProcessesByName(std::span<const std::string> names) override;

  private:
    ProcessLister& processes_;
};

// The program's own name as ProcfsProcessLister reports it; empty when it cannot be read.
std::string ownExecutableName();

} // namespace tallowby::platform
