#pragma once
// Everything the sweeps and the process pickers need on Linux with X11, sharing one X connection.
#include <string>

#include "platform/linux/path_launchers.h"
#include "platform/linux/procfs_process_tree.h"
#include "platform/linux/procfs_processes.h"
#include "platform/window_sweep.h"
#include "platform/x11/x11_window_commander.h"
#include "platform/x11/x11_window_list.h"
#include "platform/x11/x_connection.h"

namespace tallowby::platform::x11 {

class X11Platform {
  public:
    // An empty display name means $DISPLAY. Nothing is opened until the first call. Without the
    // installed applications (`entries` null) windows answer to the names of their program and class.
    // Listed names are followed on $PATH as it is now.
    explicit X11Platform(std::string displayName = {}, DesktopEntries* entries = nullptr)
        : connection_(std::move(displayName)), windows_(connection_), commander_(connection_),
          killer_(processes_), launchers_(searchPathFolders(), entries),
          namer_(processes_, tree_, entries, &launchers_) {}

    WindowLister& windows() { return windows_; }
    WindowCommander& commander() { return commander_; }
    ProcessLister& processes() { return processes_; }
    ProcessKiller& killer() { return killer_; }
    ProgramNamer& programNamer() { return namer_; }
    SweepPlatform sweepPlatform() { return {windows_, processes_, commander_, owners_, namer_}; }
    XConnection& connection() { return connection_; }

  private:
    XConnection connection_;
    X11WindowList windows_;
    X11WindowCommander commander_;
    ProcfsProcessLister processes_;
    SignalProcessKiller killer_;
    ProcfsProcessTree tree_;
    PathLaunchers launchers_;
    WindowNamer namer_;
    WindowOwners owners_;
};

} // namespace tallowby::platform::x11
