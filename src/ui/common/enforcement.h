#pragma once
// The operations through which the running rules act on the machine: other programs' windows and
// processes, the hosts file, the shutdown, the autostart entry, the process rights and the alert sounds. The
// program passes the real platform's (or the sandbox's); tests pass fakes and temporary files.
#include <functional>
#include <string>

#include "platform/autostart.h"
#include "platform/desktop_entries.h"
#include "platform/hosts/hosts_file.h"
#include "platform/process_killer.h"
#include "platform/program_names.h"
#include "platform/shutdown.h"
#include "platform/sound_player.h"
#include "platform/window_sweep.h"

namespace tallowby::ui {

struct Enforcement {
    platform::SweepPlatform sweep;
    platform::ProcessKiller& killer;
    platform::HostsFile hosts;
    platform::ShutdownCommand& shutdown;
    platform::AutoStart& autostart;
    // The program's own process: the sweeps never act on its windows, nor on those of the processes
    // it started.
    platform::ProcessId ownProcess = platform::kNoProcess;
    // Asks for the right to end other users' processes (Task Manager); tests pass nothing.
    std::function<void()> enableDebugPrivilege;
    // Plays the alert sounds of the reminders and the shutdown warning.
    platform::SoundPlayer& sound;
    // The installed applications: what the process pickers offer and check typed names against
    // (with the names of the running windows' programs, sweep.namer).
    platform::DesktopEntries& desktopEntries;
    // The desktop is a Wayland session: only windows of programs under XWayland can be acted on.
    bool waylandSession = false;
};

} // namespace tallowby::ui
