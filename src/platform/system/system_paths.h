#pragma once
// Where the machine's own files are. The real program uses the machine's paths; the sandbox program
// keeps every one of them inside its own folder, so it can be tried without root's rights over the
// machine. The same code runs in both: only these paths differ.
#include <filesystem>

namespace tallowby::platform {

struct SystemPaths {
    std::filesystem::path hostsFile;
    // The machine-wide autostart folder: every user's session starts the entries found here.
    std::filesystem::path autostartFolder;
    // Empty for the real program, which really shuts the machine down. The sandbox program only
    // appends the command line it would have run to this file.
    std::filesystem::path shutdownLog;

    bool sandbox() const { return !shutdownLog.empty(); }

    static SystemPaths forProgram(const std::filesystem::path& programFolder, bool sandbox);
};

} // namespace tallowby::platform
