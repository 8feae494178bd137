#pragma once
// The sandbox's stand-in for the machine's shutdown: it only writes down what it would have done.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/shutdown.h"

namespace tallowby::platform {

// Appends "<YYYY-MM-DD hh:mm:ss> <command line>" to a log file, one line a call (the cancel's command
// line for a cancel), and shuts nothing down.
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
