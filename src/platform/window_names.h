#pragma once
// Works out the names a window's program is known by, from the window itself (its class), the
// process that owns it (its executable, the script it runs), the installed applications' desktop
// entries and, for a terminal, the programs running in it.
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_entries.h"
#include "platform/process_list.h"
#include "platform/process_tree.h"
#include "platform/program_launchers.h"
#include "platform/program_names.h"

namespace tallowby::platform {

class WindowNamer : public ProgramNamer {
  public:
    // `entries` may be null: names then come from the window and its process alone. `launchers`
    // may be null: a listed name then reaches only the windows that answer to it.
    WindowNamer(ProcessLister& processes, ProcessTree& tree, DesktopEntries* entries,
                ProgramLaunchers* launchers = nullptr)
        : processes_(processes), tree_(tree), entries_(entries), launchers_(launchers) {}

    // Every name, those of the programs running in a terminal included.
    ProgramNames namesOf(const TopLevelWindow& window) override;

    struct Lasting {
        // The names that stay as long as the window keeps its process and class.
        ProgramNames names;
        // The window is a terminal's: the programs running in it change while it stays.
        bool terminal = false;
    };
    Lasting lastingNamesOf(const TopLevelWindow& window);
    // The names of the programs a terminal process runs: its descendants', the terminal's own not
    // included. A terminal that serves several windows from one process (GNOME Terminal) cannot
    // say which of its windows a program runs in, so each of its windows answers to them all.
    std::vector<std::string> runningIn(ProcessId terminal);

    // Where a listed name leads ("lowriter" to "soffice.bin", "nethack" to "nethack-console"): the
    // windows of every program on the way answer to it. The name itself when nothing is known.
    ProgramReach reachOf(std::string_view listed) override;
    // Whether a listed name may reach windows under other names than its own.
    bool followsLaunchers() const { return launchers_ != nullptr; }
    ProgramReach reachOfFile(const std::filesystem::path& file) override;

  private:
    // The installed applications whose program is the script an interpreter runs ("idle"), or whose
    // launcher runs the module it runs (python3 -m idlelib), where the window itself names none.
    std::vector<const DesktopEntry*> entriesRunning(std::string_view script, std::string_view module);
    void addProcessNames(ProcessId pid, const std::string& executable, std::vector<std::string>& names);

    ProcessLister& processes_;
    ProcessTree& tree_;
    DesktopEntries* entries_;
    ProgramLaunchers* launchers_;
};

// The installed applications a window belongs to, best first: those whose StartupWMClass is the
// window's class or instance name; else those whose id is its application id, class or instance
// name; else those whose program is the window's executable. Letter case is ignored.
std::vector<const DesktopEntry*> entriesOfWindow(const std::vector<DesktopEntry>& entries,
                                                 const TopLevelWindow& window, std::string_view executable);

// Whether a program of this executable name is a terminal, whatever its desktop entry says.
bool knownTerminal(std::string_view executable);

// Adds the name unless it is empty or already there, ignoring case.
void addName(std::vector<std::string>& names, std::string_view name);

} // namespace tallowby::platform
