#pragma once
// What the running program acts on, made for the system it is built for: other programs' windows
// and processes (for the sweeps, the process pickers and Task Manager blocking), the installed
// applications, the alert sounds and the hosts file. main() knows the system through this alone,
// so the program's windows and its entry build for every system as they are.
#include <memory>

#include "platform/desktop_entries.h"
#include "platform/hosts/hosts_file.h"
#include "platform/process_killer.h"
#include "platform/sound_player.h"
#include "platform/system/program_place.h"
#include "platform/system/system_paths.h"
#include "platform/window_sweep.h"

namespace tallowby::platform {

class DesktopSystem {
  public:
    virtual ~DesktopSystem() = default;
    virtual SweepPlatform sweepPlatform() = 0;
    virtual ProcessKiller& killer() = 0;
    virtual DesktopEntries& applications() = 0;
    virtual SoundPlayer& sound() = 0;
    // The program's own process: the sweeps spare its windows and those of the processes it started.
    virtual ProcessId ownProcess() const = 0;
};

// Linux: X11 windows, /proc processes, the XDG desktop entries, SDL2_mixer. Windows: Win32
// windows, Toolhelp processes, the Start menu's shortcuts, winmm.
std::unique_ptr<DesktopSystem> makeDesktopSystem();

// The hosts file of `system`. The sandbox's stays inside the program's data folder (a link there
// may not lead out). A write to the machine's that the user may not make goes, on Linux, to the
// privileged helper through pkexec when the program has one; Windows has no such helper: the
// program writes with the rights it was started with.
HostsFile makeHostsFile(const ProgramPlace& place, const SystemPaths& system);

} // namespace tallowby::platform
