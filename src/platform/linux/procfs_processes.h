#pragma once
// Processes on Linux, read from /proc.
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <sys/types.h>

#include "platform/linux/process_events.h"
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
    explicit ProcfsProcessLister(std::filesystem::path procRoot = "/proc");
    // Blocking Task Manager takes a snapshot every second, so a snapshot reads as little as it can
    // while still naming every process as it is now. Where the kernel tells of processes made,
    // ended and running another program (ProcessEvents: the program runs as root), the folder is
    // read once and after that only the processes it told of are named. Elsewhere:
    // - The folder is read only when a process was made since the last snapshot (the last field of
    //   /proc/loadavg, the id of the process made last, has changed), and at least every tenth time
    //   in case a container makes that file up. Otherwise the processes known are all there can be.
    // - Kernel threads, most of a machine's processes, never change their names, which cost four
    //   system calls each to read: their names are kept until another process takes their id.
    // - Any other process is named afresh every time, as it may have started another program.
    ProcessSnapshot snapshot() override;
    // The same scan, without a list of every name.
    std::vector<ProcessId> processesNamed(std::span<const std::string> names) override;
    std::string nameOf(ProcessId pid) override;
    // From /proc/PID/stat.
    ProcessId parentOf(ProcessId pid) override;

  private:
    static constexpr int kMostScansWithoutFolder = 10;

    struct Known {
        ino_t inode; // of the process's folder
        std::string name;
        bool lasting;
    };
    // By id, the order of the folder.
    using KnownProcesses = std::map<ProcessId, Known>;

    // Brings the known processes up to date, then calls visit(pid, name) for each.
    template <class Visit> void scan(Visit visit);
    void readFolder();
    void renameKnown();
    void apply(const std::vector<ProcessEvents::Change>& changes);

    std::filesystem::path root_;
    std::optional<ProcessEvents> events_;
    bool folderRead_ = false;
    KnownProcesses known_;
    std::string lastMade_;
    int scansWithoutFolder_ = 0;
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
