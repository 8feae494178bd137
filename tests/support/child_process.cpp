#include "support/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tallowby::testsupport {

namespace {

std::filesystem::path resolveProgram(const std::filesystem::path& program) {
    if (program.string().find('/') != std::string::npos) {
        return program;
    }
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const auto end = std::min(folders.find(':', start), folders.size());
        const std::filesystem::path candidate =
            std::filesystem::path(folders.substr(start, end - start)) / program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    throw std::runtime_error("program not found in PATH: " + program.string());
}

std::vector<std::string> mergedEnvironment(const SpawnOptions& options) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        const bool replaced =
            std::ranges::any_of(options.environment, [&](const auto& pair) { return pair.first == name; }) ||
            std::ranges::find(options.unset, name) != options.unset.end();
        if (!replaced) {
            merged.push_back(text);
        }
    }
    for (const auto& [name, value] : options.environment) {
        merged.push_back(name + "=" + value);
    }
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) {
        out.push_back(s.data());
    }
    out.push_back(nullptr);
    return out;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void execChild(const char* path, char* const* argv, char* const* envp, int stdoutFd,
                            bool keepStderr, pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) {
        ::_exit(127);
    }
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(stdoutFd >= 0 ? stdoutFd : devNull, STDOUT_FILENO);
    if (!keepStderr) {
        ::dup2(devNull, STDERR_FILENO);
    }
    ::execve(path, argv, envp);
    ::_exit(127);
}

} // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const SpawnOptions& options) {
    const std::string path = resolveProgram(program).string();
    std::vector<std::string> argStrings{path};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    auto envStrings = mergedEnvironment(options);
    auto argv = pointers(argStrings);
    auto envp = pointers(envStrings);

    int pipeFds[2] = {-1, -1};
    if (options.captureStdout && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        execChild(path.c_str(), argv.data(), envp.data(), pipeFds[1], options.keepStderr, parent);
    }
    if (pipeFds[1] >= 0) {
        ::close(pipeFds[1]);
    }
    if (pid_ < 0) {
        if (pipeFds[0] >= 0) {
            ::close(pipeFds[0]);
        }
        throw std::runtime_error("fork failed");
    }
    stdoutFd_ = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    release();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), stdoutFd_(std::exchange(other.stdoutFd_, -1)),
      buffered_(std::move(other.buffered_)), status_(other.status_) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        release();
        pid_ = std::exchange(other.pid_, -1);
        stdoutFd_ = std::exchange(other.stdoutFd_, -1);
        buffered_ = std::move(other.buffered_);
        status_ = other.status_;
    }
    return *this;
}

void ChildProcess::release() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        waitForExit(10s);
    }
    if (stdoutFd_ >= 0) {
        ::close(stdoutFd_);
        stdoutFd_ = -1;
    }
    pid_ = -1;
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (stdoutFd_ >= 0) {
        if (const auto newline = buffered_.find('\n'); newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd poller{stdoutFd_, POLLIN, 0};
        const int ready = ::poll(&poller, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        char chunk[256];
        const ssize_t got = ::read(stdoutFd_, chunk, sizeof chunk);
        if (got <= 0) {
            return std::nullopt;
        }
        buffered_.append(chunk, static_cast<std::size_t>(got));
    }
    return std::nullopt;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    if (status_ || pid_ <= 0) {
        return status_;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno == ECHILD)) {
            status_ = done == pid_ ? status : -1;
            return status_;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(5ms);
    }
}

void ChildProcess::stop(std::chrono::milliseconds grace) {
    if (pid_ <= 0 || status_) {
        return;
    }
    ::kill(pid_, SIGTERM);
    if (!waitForExit(grace)) {
        ::kill(pid_, SIGKILL);
        waitForExit(10s);
    }
}

} // namespace tallowby::testsupport
