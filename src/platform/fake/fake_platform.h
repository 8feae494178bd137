#pragma once
// A platform for tests: the test sets the windows and processes, the code under test acts on them,
// and the test reads what was posted and ended.
#include <vector>

#include "platform/process_killer.h"
#include "platform/window_commands.h"
#include "platform/window_list.h"
#include "platform/window_sweep.h"

namespace tallowby::platform {

struct FakePost {
    WindowId window = 0;
    WindowCommand command = WindowCommand::Minimize;

    friend bool operator==(const FakePost&, const FakePost&) = default;
};

class FakePlatform : public WindowLister, public ProcessLister, public WindowCommander, public ProcessKiller {
  public:
    // Topmost first.
    std::vector<TopLevelWindow> windows;
    ProcessSnapshot processes;

    // What the code under test did.
    std::vector<FakePost> posts;
    std::vector<ProcessId> killed;
    int windowListings = 0;
    int snapshots = 0;

    std::vector<TopLevelWindow> topLevelWindows() override;
    ProcessSnapshot snapshot() override;
    void post(WindowId window, WindowCommand command) override;
    // Ends the matching processes: they leave `processes`, and their windows leave `windows`.
    std::vector<ProcessId> killProcessesByName(std::span<const std::string> names) override;

    SweepPlatform sweepPlatform() { return {*this, *this, *this}; }
};

} // namespace tallowby::platform
