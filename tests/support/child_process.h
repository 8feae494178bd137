#pragma once
// A child process a test starts and owns: it is killed and reaped at the latest when the object
// goes, and it dies with the test process if that crashes first.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace tallowby::testsupport {

using namespace std::chrono_literals;

struct SpawnOptions {
    std::vector<std::pair<std::string, std::string>> environment; // added to or replacing the test's own
    bool captureStdout = false;                                   // else stdout goes to /dev/null
    bool keepStderr = false;                                      // else stderr goes to /dev/null
    std::vector<std::string> unset = {};                          // names left out of the test's own
};

class ChildProcess {
  public:
    // A program without a slash is looked up in PATH. Throws std::runtime_error when it cannot start.
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                 const SpawnOptions& options = {});
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // One line of the child's stdout (captureStdout), without the newline; nullopt at end of output
    // or when none came in time.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    // The wait status once the child has ended and was reaped; nullopt while it still runs after
    // the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool hasExited() { return waitForExit(0ms).has_value(); }

    // SIGTERM, then SIGKILL when it has not ended in time; always reaps.
    void stop(std::chrono::milliseconds grace = 3s);

  private:
    void release();

    pid_t pid_ = -1;
    int stdoutFd_ = -1;
    std::string buffered_;
    std::optional<int> status_;
};

} // namespace tallowby::testsupport
