#pragma once
// A platform for tests: the test sets the windows and processes, the code under test acts on them,
// and the test reads what was posted and ended.
#include <map>
#include <vector>

#include "platform/desktop_entries.h"
#include "platform/process_killer.h"
#include "platform/process_tree.h"
#include "platform/program_launchers.h"
#include "platform/window_commands.h"
#include "platform/window_list.h"
#include "platform/window_sweep.h"

namespace tallowby::platform {

struct FakePost {
    WindowId window = 0;
    WindowCommand command = WindowCommand::Minimize;

    friend bool operator==(const FakePost&, const FakePost&) = default;
};

class FakePlatform : public WindowLister,
                     public ProcessLister,
                     public ProcessTree,
                     public WindowCommander,
                     public ProcessKiller,
                     public DesktopEntries,
                     public ProgramLaunchers {
  public:
    // Topmost first.
    std::vector<TopLevelWindow> windows;
    ProcessSnapshot processes;
    // Each process's parent; a process not here has none.
    std::map<ProcessId, ProcessId> parents;
    std::map<ProcessId, std::vector<std::string>> commandLines;
    // The installed applications.
    std::vector<DesktopEntry> entries;
    // Where launchers lead: "lowriter" to {"lowriter", "soffice.bin"}; a name not here leads to itself.
    std::map<std::string, ProgramReach, std::less<>> launchers;

    // What the code under test did.
    std::vector<FakePost> posts;
    std::vector<ProcessId> killed;
    int windowListings = 0;
    int snapshots = 0;
    int nameReads = 0;

    std::vector<TopLevelWindow> topLevelWindows() override;
    ProcessSnapshot snapshot() override;
    std::string nameOf(ProcessId pid) override;
    ProcessId parentOf(ProcessId pid) override;
    std::vector<std::string> commandLine(ProcessId pid) override;
    // From `parents`.
    std::vector<ProcessId> childrenOf(ProcessId pid) override;
    const std::vector<DesktopEntry>& applications() override { return entries; }
    ProgramReach reachOf(std::string_view name) override;
    ProgramReach reachOfFile(const std::filesystem::path& file) override {
        return reachOf(file.filename().string());
    }
    void post(WindowId window, WindowCommand command) override;
    // Ends the matching processes: they leave `processes`, and their windows leave `windows`.
    std::vector<ProcessId> killProcessesByName(std::span<const std::string> names) override;

    SweepPlatform sweepPlatform() { return {*this, *this, *this, owners, namer}; }

    WindowOwners owners;
    WindowNamer namer{*this, *this, this, this};
};

} // namespace tallowby::platform
