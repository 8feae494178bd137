#pragma once
// Everything the sweeps and the process pickers need on Windows.
#include "platform/window_sweep.h"
#include "platform/windows/toolhelp_processes.h"
#include "platform/windows/win32_windows.h"

namespace tallowby::platform::windows {

class Win32Platform {
  public:
    // Without the installed applications (`entries` null) windows answer to the names of their
    // program and class.
    explicit Win32Platform(DesktopEntries* entries = nullptr)
        : killer_(processes_), namer_(processes_, processes_, entries) {}

    WindowLister& windows() { return windows_; }
    WindowCommander& commander() { return commander_; }
    ProcessLister& processes() { return processes_; }
    ProcessKiller& killer() { return killer_; }
    ProgramNamer& programNamer() { return namer_; }
    SweepPlatform sweepPlatform() { return {windows_, processes_, commander_, owners_, namer_}; }

  private:
    Win32WindowList windows_;
    Win32WindowCommander commander_;
    ToolhelpProcesses processes_;
    TerminatingKiller killer_;
    WindowNamer namer_;
    WindowOwners owners_;
};

} // namespace tallowby::platform::windows
