#pragma once
// Ending processes by executable name: used for Task Manager and the desktops' system monitors.
#include <functional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/process_list.h"

namespace tallowby::platform {

// A matching process the program has no right to end: another user's, root's.
struct RefusedProcess {
    ProcessId pid = kNoProcess;
    std::string name; // as the process list names it

    friend bool operator==(const RefusedProcess&, const RefusedProcess&) = default;
};

struct KillReport {
    // The processes it ended (sent the signal to).
    std::vector<ProcessId> ended;
    // The processes it may not end, each reported only the first time it is found, so that the
    // user is told once per process however many ticks it goes on running.
    std::vector<RefusedProcess> refused;
};

class ProcessKiller {
  public:
    virtual ~ProcessKiller() = default;
    // Ends, without asking, every process whose name matches one of the names (see
    // processAnswersTo), all from one snapshot. Returns the processes it tried to end; failures
    // (no rights, already gone) are ignored.
    virtual std::vector<ProcessId> killProcessesByName(std::span<const std::string> names) = 0;
    // The same, telling which processes it ended and which it may not end. A killer that cannot
    // tell reports everything it tried as ended.
    virtual KillReport killProcesses(std::span<const std::string> names) {
        return {killProcessesByName(names), {}};
    }
};

// A killer that ends one process at a time with the system's call, and tells each process that
// refused only the first time it is found.
class ProcessEnder : public ProcessKiller {
  public:
    explicit ProcessEnder(ProcessLister& processes) : processes_(processes) {}
    std::vector<ProcessId> killProcessesByName(std::span<const std::string> names) override;
    KillReport killProcesses(std::span<const std::string> names) override;

  protected:
    enum class Ending { Ended, Refused, Failed };
    // Ends the process now, without asking it; Refused when the program has no right to.
    virtual Ending end(ProcessId pid) = 0;

  private:
    ProcessLister& processes_;
    std::set<ProcessId> refused_;
};

// A reported name matches when it, or its file-name part, equals the wanted name ignoring the letter
// case of ASCII letters.
bool processNameMatches(std::string_view reported, std::string_view wanted);

// A process answers to a wanted name by its executable's file name, that name without its extension
// or version suffix ("htop-3.2.2"), or one of the names its command line gives (the script an
// interpreter runs, see commandNames), ignoring case.
bool processAnswersTo(std::string_view name, std::span<const std::string> commandNames,
                      std::string_view wanted);

// The names a process answers to beside its executable's (see processAnswersTo).
using CommandNamesOf = std::function<std::vector<std::string>(const ProcessInfo& process)>;

// The processes of a snapshot that match one of the names, in snapshot order; by their executables'
// names alone unless commandNamesOf is given.
std::vector<ProcessId> matchingProcesses(const ProcessSnapshot& snapshot, std::span<const std::string> names,
                                         const CommandNamesOf& commandNamesOf = {});

std::vector<ProcessId> KillProcessByName(ProcessKiller& killer, const std::string& name);

// The programs that "Block Task Manager" ends: every program name of systemMonitors().
const std::vector<std::string>& taskManagerNames();

KillReport KillTaskManager(ProcessKiller& killer);

} // namespace tallowby::platform
