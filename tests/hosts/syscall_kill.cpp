#include "syscall_kill.h"

#include <csignal>
#include <stdexcept>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tallowby::platform::hosts_testing {

namespace {

constexpr int kNoTracing = 77;

// Tells a system-call stop from a signal the child received (PTRACE_O_TRACESYSGOOD).
constexpr int kSyscallTrap = SIGTRAP | 0x80;

int waitFor(pid_t child) {
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        throw std::runtime_error("lost the traced child");
    return status;
}

} // namespace

std::optional<std::vector<SyscallStop>>
runKilledAtSyscall(const std::function<void()>& body,
                   const std::function<bool(const std::vector<SyscallStop>& stopsSoFar)>& killHere) {
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot start a child process");
    if (child == 0) {
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            ::_exit(kNoTracing);
        ::raise(SIGSTOP);
        try {
            body();
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    if (!WIFSTOPPED(waitFor(child)))
        return std::nullopt;
    // The child dies with this process should a failed assertion end it first.
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);

    std::vector<SyscallStop> stops;
    long number = -1;
    int pendingSignal = 0;
    for (;;) {
        if (::ptrace(PTRACE_SYSCALL, child, nullptr, pendingSignal) != 0) {
            ::kill(child, SIGKILL);
            waitFor(child);
            throw std::runtime_error("cannot trace the child on");
        }
        const int status = waitFor(child);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return stops;
        pendingSignal = WSTOPSIG(status) == kSyscallTrap ? 0 : WSTOPSIG(status);
        if (pendingSignal != 0)
            continue;
        __ptrace_syscall_info info{};
        ::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info);
        const bool entering = info.op == PTRACE_SYSCALL_INFO_ENTRY;
        if (entering)
            number = static_cast<long>(info.entry.nr);
        stops.push_back({number, entering});
        if (killHere(stops)) {
            ::kill(child, SIGKILL);
            waitFor(child);
            return stops;
        }
    }
}

} // namespace tallowby::platform::hosts_testing
