#pragma once
// Processes on Linux, read from /proc.
#include <filesystem>
#include <string>
#include <unordered_map>

#include <sys/types.h>

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
    // Blocking Task Manager takes a snapshot every second. Most of a machine's processes are kernel
    // threads, whose names never change and cost four system calls each to read: their names are
    // kept from one snapshot to the next. Any other process is named afresh every time, as it may
    // have started another program since.
    ProcessSnapshot snapshot() override;
    // The same scan, without a list of every name.
    std::vector<ProcessId> processesNamed(std::span<const std::string> names) override;
    std::string nameOf(ProcessId pid) override;
    // From /proc/PID/stat.
    ProcessId parentOf(ProcessId pid) override;

  private:
    struct LastingName {
        ino_t inode; // of the process's folder
        std::string name;
    };
    using LastingNames = std::unordered_map<ProcessId, LastingName>;

    // Calls visit(pid, name) for every process in the folder's order.
    template <class Visit> void scan(Visit visit);

    std::filesystem::path root_;
    LastingNames lasting_;
};

// Ends processes with SIGKILL: the programs it is used on must not get a chance to refuse.
class SignalProcessKiller : public ProcessKiller {
  public:
    explicit SignalProcessKiller(ProcessLister& processes) : processes_(processes) {}
    std::vector<ProcessId> killProcessesByName(std::span<const std::string> names) override;

  private:
    ProcessLister& processes_;
};

// The program's own process: the sweeps spare its windows and those of the processes it started.
ProcessId ownProcessId();

} // namespace tallowby::platform
