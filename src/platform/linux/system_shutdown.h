#pragma once
// The machine's shutdown command (the sandbox's stand-in is platform/logged_shutdown.h).
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/shutdown.h"

namespace tallowby::platform {

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

} // namespace tallowby::platform
