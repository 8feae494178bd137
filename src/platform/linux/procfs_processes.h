#pragma once
// Processes on Linux, read from /proc.
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <dirent.h>
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
//
// processesNamed() knows a process by more than that name: the name without its extension or
// version, the script an interpreter or the loader runs (from /proc/PID/cmdline, see commandNames),
// for a process whose executable cannot be read its command line's first word (and a 15-character
// comm as the start of a longer name), and the content of its executable: one with the GNU build
// ID of the program installed on PATH under a wanted name is that program, whatever its file is
// called.
class ProcfsProcessLister : public ProcessLister {
  public:
    explicit ProcfsProcessLister(std::filesystem::path procRoot = "/proc");
    ~ProcfsProcessLister() override;
    // Blocking Task Manager takes a snapshot every second, so a snapshot reads as little as it can
    // while still naming every process as it is now. Where the kernel tells of processes made,
    // ended and running another program (ProcessEvents: the program runs as root), the folder is
    // read once and after that only the processes it told of are named. Elsewhere:
    // - The folder is read only when a process was made or ended since the last snapshot (the last
    //   fields of /proc/loadavg, the number of threads and the id of the process made last, have
    //   changed), and at least every tenth time in case a container makes that file up. Otherwise
    //   the processes known are all there can be.
    // - A process is named when it is first seen, and again at the next snapshot (kRecentScans): a
    //   process made by fork runs its parent's program until it runs its own.
    // - Every kFullRenameScans-th snapshot names every process of this user afresh: a process that
    //   has run for long may still replace its program in place (exec without a new process, as
    //   `exec htop` in a shell does). Such a program is found within that many seconds rather
    //   than at once; reading every process's executable every second cost more than the rest of
    //   an idle tick.
    // - Another user's processes, which cannot be ended, are named once: by processesNamed at the
    //   second look that sees them, so a busy machine's many short-lived processes of root's are
    //   never named; by snapshot() at once.
    // - The machine's /proc lists processes in the order of their ids, which grow until they wrap
    //   around: when processes were made, only the end of the listing after the highest id known
    //   is read. An ended process leaves at its next naming or at the next full reading.
    // - Kernel threads, most of a machine's processes, never change their names: their names are
    //   kept until another process takes their id.
    ProcessSnapshot snapshot() override;
    // The same scan, without a list of every name.
    std::vector<ProcessId> processesNamed(std::span<const std::string> names) override;
    std::string nameOf(ProcessId pid) override;
    // From /proc/PID/stat.
    ProcessId parentOf(ProcessId pid) override;

    static constexpr int kRecentScans = 2;
    static constexpr int kFullRenameScans = 5;

  private:
    static constexpr int kMostScansWithoutFolder = 10;

    struct Known {
        ino_t inode = 0; // of the process's folder
        std::string name;
        // Every name it answers to, in lower case: its name, that without extension or version,
        // the names its command line gives.
        std::vector<std::string> answers;
        // Its executable (device and inode), both 0 when unknown.
        dev_t device = 0;
        ino_t executable = 0;
        // Its executable is an interpreter's or the loader's: its command line tells what it runs.
        bool interpreted = false;
        // Will never run another program: a kernel thread, or a process that has ended or is ending.
        bool lasting = false;
        // Its executable cannot be read: another user's process.
        bool foreign = false;
        // Another user's process seen once and not named yet: not listed until the next look.
        bool pending = false;
        // The name is a comm the kernel cut to 15 characters.
        bool cut = false;
        unsigned namedAt = 0;  // the scan that first named it under this folder
        unsigned judgedAs = 0; // the Wanted generation `isWanted` answers for; 0 for none
        bool isWanted = false;
    };
    struct Wanted;
    // By id, the order of the folder.
    using KnownProcesses = std::map<ProcessId, Known>;

    // Brings the known processes up to date, then calls visit(pid, known) for each.
    template <class Visit> void scan(Visit visit);
    bool openFolder();
    void readFolder(bool renameAll);
    void learnPosition(std::optional<long> previousEnd, ProcessId pid);
    // Reads the processes listed after the highest id known; false when the folder's places are
    // not known.
    bool readNewProcesses();
    void renameKnown(bool renameAll);
    void apply(const std::vector<ProcessEvents::Change>& changes);
    bool renameDue(const Known& known, bool renameAll) const;
    // Its executable is still the file it was named by (one look instead of a naming).
    bool runsTheSameProgram(int procDir, const std::string& pidText, const Known& known) const;
    // At first sight, where deferForeign_, another user's process is only marked `pending`.
    Known named(int procDir, const std::string& pidText, bool firstSight) const;
    void setWanted(std::span<const std::string> names);
    bool wanted(ProcessId pid, Known& known);

    std::filesystem::path root_;
    std::optional<ProcessEvents> events_;
    bool folderRead_ = false;
    KnownProcesses known_;
    std::string lastMade_;
    int scansWithoutFolder_ = 0;
    unsigned scans_ = 0;
    unsigned lastFullRename_ = 0;
    std::unique_ptr<Wanted> wanted_;
    DIR* folder_ = nullptr;
    ProcessId highest_ = kNoProcess;
    static constexpr long kUnknown = -1;
    static constexpr long kUntrusted = -2;
    long positionOffset_ = kUnknown;
    // This scan leaves another user's new processes unnamed until the next (processesNamed).
    bool deferForeign_ = false;
};

// Ends processes with SIGKILL: the programs it is used on must not get a chance to refuse.
// A process it may not end (EPERM: another user's, root's) is reported by killProcesses the first
// time only, and again only after it was gone from the matches for a while (its id taken anew).
class SignalProcessKiller : public ProcessEnder {
  public:
    explicit SignalProcessKiller(ProcessLister& processes) : ProcessEnder(processes) {}

  protected:
    Ending end(ProcessId pid) override;
};

// The program's own process: the sweeps spare its windows and those of the processes it started.
ProcessId ownProcessId();

} // namespace tallowby::platform
