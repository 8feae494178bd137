#pragma once
// Starts a program that lives on by itself: its own session (no terminal hang-up reaches it), input
// from /dev/null, and nobody waiting for it. Output goes where the caller's goes. On Windows: no
// console, its own process group, no handle of the caller's.
#include <filesystem>
#include <string>
#include <vector>

namespace tallowby::platform {

struct Spawned {
    int pid = -1;  // the process id
    int error = 0; // the errno that kept the program from starting, 0 when it started
    bool started() const { return error == 0; }
};

// program is run by path (no PATH search); args follow argv[0], which is the program path. The
// child is reaped in the background when it ends, so a long-running caller collects no zombies.
// A Windows failure is told by its closest errno.
Spawned spawnDetached(const std::filesystem::path& program, const std::vector<std::string>& args);

} // namespace tallowby::platform
