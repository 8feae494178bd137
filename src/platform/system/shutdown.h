#pragma once
// Shutting the machine down a minute from now. The program starts it and goes on: the result is
// not checked, and the next scheduled time tries again.
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tallowby::platform {

class ShutdownCommand {
  public:
    virtual ~ShutdownCommand() = default;
    // true when the command was handed on; callers ignore it.
    virtual bool start() = 0;
    // Calls off a shutdown that start() set going. Waits for the answer: true only when the
    // system took the cancel, so the user is never told the machine stays on when it will not.
    virtual bool cancel() = 0;

    // What the caller's thread does, every few milliseconds, while cancel() waits for its answer:
    // a window keeps painting and its timers keep running meanwhile.
    void setWhileWaiting(std::function<void()> whileWaiting) { whileWaiting_ = std::move(whileWaiting); }

  protected:
    void whileWaiting() const {
        if (whileWaiting_)
            whileWaiting_();
    }

  private:
    std::function<void()> whileWaiting_;
};

// The command line, program name first: power off after one minute, running programs being ended
// by the system whether they agree or not.
const std::vector<std::string>& shutdownCommandLine();
// The command line that calls a pending shutdown off.
const std::vector<std::string>& cancelShutdownCommandLine();

// Runs the machine's shutdown command, detached. Tests name a stand-in for the shutdown program.
class SystemShutdown : public ShutdownCommand {
  public:
    SystemShutdown();
    explicit SystemShutdown(std::filesystem::path program) : program_(std::move(program)) {}
    bool start() override;
    bool cancel() override;

  private:
    std::filesystem::path program_;
};

// The sandbox's stand-in: appends "<YYYY-MM-DD hh:mm:ss> <command line>" to a log file, one line a
// call (the cancel's command line for a cancel), and shuts nothing down.
class LoggedShutdown : public ShutdownCommand {
  public:
    explicit LoggedShutdown(std::filesystem::path logFile) : logFile_(std::move(logFile)) {}
    bool start() override;
    bool cancel() override;

  private:
    bool log(const std::vector<std::string>& commandLine);

    std::filesystem::path logFile_;
};

} // namespace tallowby::platform
