#pragma once
// Runs a program to its end with text on its standard input, keeping what it says on standard
// error, and gives up on one that takes too long. For short requests to other programs whose answer
// the caller waits for.
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::platform {

struct ProgramRun {
    int startError = 0; // the errno that kept the program from starting; 0 when it started
    bool timedOut = false;
    int exitCode = -1;  // -1 when it did not exit by itself (a signal, a time-out)
    int signal = 0;     // the signal that ended it, if one did
    std::string errors; // its standard error, the first 64 KiB of it

    bool succeeded() const { return startError == 0 && !timedOut && exitCode == 0; }
};

// The first executable file called name in the ':'-separated folders of searchPath (as $PATH is
// read: an empty entry is the working folder); empty when there is none.
std::filesystem::path findProgram(std::string_view name, std::string_view searchPath);

// Runs program with args after argv[0] (the program's path) and this process's environment. Its
// standard output goes to /dev/null. A program still running after the timeout is sent SIGKILL
// (which a program run as another user does not take) and left to end on its own, reaped in the
// background. Writing to a program that stopped reading ends the input, never this process.
ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      std::string_view input, std::chrono::milliseconds timeout);

} // namespace tallowby::platform
