#include "platform/linux/system_shutdown.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

#include "platform/detached_spawn.h"

extern char** environ;

namespace tallowby::platform {
namespace {

// By full path: the program runs as root, and a PATH entry must not choose what it starts.
std::filesystem::path shutdownProgram() {
    for (const char* candidate : {"/usr/sbin/shutdown", "/sbin/shutdown"}) {
        if (::access(candidate, X_OK) == 0) {
            return candidate;
        }
    }
    return "/sbin/shutdown";
}

} // namespace

SystemShutdown::SystemShutdown() : program_(shutdownProgram()) {}

bool SystemShutdown::start() {
    const std::vector<std::string>& line = shutdownCommandLine();
    return spawnDetached(program_, {line.begin() + 1, line.end()}).started();
}

bool SystemShutdown::cancel() {
    const std::vector<std::string>& line = cancelShutdownCommandLine();
    std::vector<std::string> argv{program_.string()};
    argv.insert(argv.end(), line.begin() + 1, line.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0].c_str(), nullptr, nullptr, pointers.data(), environ) != 0)
        return false;
    // The user is waiting to hear whether the machine stays on, but the window that asked goes on
    // meanwhile. A cancel that gets no answer at all counts as failed, so the user is told to save
    // their work rather than left waiting.
    constexpr auto kPoll = std::chrono::milliseconds(10);
    constexpr auto kLongest = std::chrono::seconds(20);
    const auto giveUp = std::chrono::steady_clock::now() + kLongest;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= giveUp) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return false;
        }
        whileWaiting();
        const timespec pause{0, std::chrono::nanoseconds(kPoll).count()};
        ::nanosleep(&pause, nullptr);
    }
}

} // namespace tallowby::platform
