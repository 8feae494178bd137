#include "platform/program_run.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "os/descriptor.h"
#include "platform/linux/background_reap.h"

extern char** environ;

namespace tallowby::platform {
namespace {

using Clock = std::chrono::steady_clock;
using os::UniqueFd;

constexpr std::size_t kErrorsKept = 64 * 1024;

// What posix_spawn is told for one call; undone when it goes.
class SpawnPlan {
  public:
    SpawnPlan(int input, int errors) {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
        posix_spawn_file_actions_adddup2(&actions_, input, STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions_, errors, STDERR_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        // A descriptor that a library opened without close-on-exec is none of the program's business.
        posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
#endif
        // The program starts with no blocked signals and SIGPIPE as the system has it, whatever
        // this process's threads chose for themselves.
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes_, &none);
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes_, &pipe);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnPlan() {
        posix_spawnattr_destroy(&attributes_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnPlan(const SpawnPlan&) = delete;
    SpawnPlan& operator=(const SpawnPlan&) = delete;

    int spawn(pid_t& pid, const std::filesystem::path& program, std::vector<std::string> argv) const {
        std::vector<char*> pointers;
        for (std::string& arg : argv)
            pointers.push_back(arg.data());
        pointers.push_back(nullptr);
        return ::posix_spawn(&pid, program.c_str(), &actions_, &attributes_, pointers.data(), environ);
    }

  private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60 * 60 * 1000));
}

// Feeds the input and gathers the errors at the same time, so that neither side waits for the
// other; returns when the program has closed its standard error or the deadline has passed.
void exchange(int input, int errors, std::string_view bytes, std::string& kept, Clock::time_point deadline) {
    bool feeding = true;
    if (bytes.empty()) {
        ::shutdown(input, SHUT_WR);
        feeding = false;
    }
    for (;;) {
        pollfd watched[2] = {{errors, POLLIN, 0}, {input, POLLOUT, 0}};
        const int timeout = millisecondsUntil(deadline);
        if (timeout == 0)
            return;
        const int ready = ::poll(watched, feeding ? 2 : 1, timeout);
        if (ready < 0 && errno != EINTR)
            return;
        if (ready <= 0)
            continue;
        if (feeding && watched[1].revents != 0) {
            const ssize_t sent = ::send(input, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent > 0)
                bytes.remove_prefix(static_cast<std::size_t>(sent));
            // A program that stopped reading has all of the input it will take.
            const bool refused = sent < 0 && errno != EAGAIN && errno != EINTR;
            if (bytes.empty() || refused) {
                ::shutdown(input, SHUT_WR);
                feeding = false;
            }
        }
        if (watched[0].revents != 0) {
            char chunk[4096];
            const ssize_t got = ::read(errors, chunk, sizeof chunk);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                return;
            if (got > 0)
                kept.append(chunk, std::min(static_cast<std::size_t>(got), kErrorsKept - kept.size()));
        }
    }
}

// Waits for the program's end and notes how it ended; false when the deadline came first. An end
// that cannot be learned (someone else reaped the program) counts as neither an exit nor a signal.
bool waitForEnd(pid_t pid, Clock::time_point deadline, ProgramRun& run) {
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status))
                run.exitCode = WEXITSTATUS(status);
            else if (WIFSIGNALED(status))
                run.signal = WTERMSIG(status);
            return true;
        }
        if (done < 0 && errno != EINTR)
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void abandon(pid_t pid) {
    ::kill(pid, SIGKILL);
    reapInBackground(pid);
}

} // namespace

std::filesystem::path findProgram(std::string_view name, std::string_view searchPath) {
    for (std::size_t start = 0; start <= searchPath.size();) {
        const std::size_t end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string_view folder = searchPath.substr(start, end - start);
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : folder) / std::filesystem::path(name);
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      std::string_view input, std::chrono::milliseconds timeout) {
    ProgramRun run;
    const Clock::time_point deadline = Clock::now() + timeout;
    int pair[2];
    int errorPipe[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        run.startError = errno;
        return run;
    }
    UniqueFd toProgram(pair[0]), theirInput(pair[1]);
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        run.startError = errno;
        return run;
    }
    UniqueFd fromProgram(errorPipe[0]), theirErrors(errorPipe[1]);
    // Only this end waits for nothing: the program's standard error stays as programs expect it.
    ::fcntl(fromProgram.get(), F_SETFL, O_NONBLOCK);

    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_t pid = -1;
    run.startError = SpawnPlan(theirInput.get(), theirErrors.get()).spawn(pid, program, std::move(argv));
    if (run.startError != 0)
        return run;
    // Only the program may hold these ends now: its input ends, and its errors are over, when it
    // closes them.
    theirInput.closeChecked();
    theirErrors.closeChecked();

    exchange(toProgram.get(), fromProgram.get(), input, run.errors, deadline);
    if (!waitForEnd(pid, deadline, run)) {
        run.timedOut = true;
        abandon(pid);
    }
    return run;
}

} // namespace tallowby::platform
