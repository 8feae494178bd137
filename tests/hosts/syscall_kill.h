#pragma once
// Kills a child process at an exact moment: just before or just after one of its system calls, as a
// crash or a power cut between two steps of a file write would stop it. The child is traced, so no
// test hook is needed in the code under test.
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace tallowby::platform::hosts_testing {

// One stop of the traced child: a system call about to start (entering) or just returned.
struct SyscallStop {
    long number = 0; // as in <sys/syscall.h>: SYS_write, SYS_ftruncate, ...
    bool entering = false;
};

// Runs body in a child process that stops at the start and at the end of every system call it
// makes, and kills it with SIGKILL at the first stop for which killHere answers true (a call killed
// as it enters never runs). Returns the stops the child went through, the last one being where it
// was killed if it was; nothing when this system does not let a process be traced.
std::optional<std::vector<SyscallStop>>
runKilledAtSyscall(const std::function<void()>& body,
                   const std::function<bool(const std::vector<SyscallStop>& stopsSoFar)>& killHere);

} // namespace tallowby::platform::hosts_testing
