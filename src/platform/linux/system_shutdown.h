#pragma once
// The machine's shutdown command, and the sandbox's stand-in that only logs it.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/shutdown.h"

namespace tallowby::platform {

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
