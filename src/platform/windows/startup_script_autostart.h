#pragma once
// The sandbox's "Start with Windows": a script in its own autostart folder that would start the
// program, as a shortcut in the user's Startup folder does. Nothing outside the folder changes, and
// Windows starts nothing from it.
#include <filesystem>

#include "platform/autostart.h"

namespace tallowby::platform::windows {

class StartupScriptAutoStart : public AutoStart {
  public:
    StartupScriptAutoStart(std::filesystem::path folder, std::filesystem::path program)
        : folder_(std::move(folder)), program_(std::move(program)) {}
    bool AddAutoStart() override;
    bool DelAutoStart() override;
    // <folder>\Tallowby.cmd
    std::filesystem::path script() const { return folder_ / L"Tallowby.cmd"; }

  private:
    std::filesystem::path folder_;
    std::filesystem::path program_;
};

} // namespace tallowby::platform::windows
