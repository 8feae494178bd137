#pragma once
// Where the machine's own files are. The real program uses the machine's paths; the sandbox program
// keeps every one of them inside its own folder, so it can be tried without root's rights over the
// machine. The same code runs in both: only these paths differ.
#include <filesystem>

#include "platform/system/program_place.h"
#include "platform/user_folders.h"

namespace tallowby::platform {

struct SystemPaths {
    std::filesystem::path hostsFile;
    // The autostart folder: the machine-wide one, whose entries every user's session starts, or for
    // an installed program the user's own.
    std::filesystem::path autostartFolder;
    // Empty for the real program, which really shuts the machine down. The sandbox program only
    // appends the command line it would have run to this file.
    std::filesystem::path shutdownLog;
    // The autostart folder is the user's own: a missing one is made private to the user.
    bool userAutostart = false;

    bool sandbox() const { return !shutdownLog.empty(); }

    static SystemPaths forProgram(const std::filesystem::path& programFolder, bool sandbox);
    // The same for a program of any kind: a folder build as forProgram with its folder, an installed
    // program with the user's own autostart folder ($XDG_CONFIG_HOME/autostart), which an ordinary
    // user can write and which no other user's session starts.
    static SystemPaths forPlace(const ProgramPlace& place, const UserFolders& user, bool sandbox);
};

} // namespace tallowby::platform
