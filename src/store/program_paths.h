#pragma once
// Every data file is named relative to the program folder (the folder of the executable). The
// files the program only reads and never lets the user change (the help page, the default alert
// sounds, the icons) may live in a folder of their own: an installation's, so that an upgrade
// reaches every user at once.
#include <filesystem>
#include <string>

#include "os/path_text.h"

namespace tallowby::store {

class ProgramPaths {
  public:
    // installation: the folder of the read-only files; empty when they are in the data folder.
    explicit ProgramPaths(std::filesystem::path folder, std::filesystem::path installation = {})
        : folder_(std::move(folder)),
          installation_(installation.empty() ? folder_ : std::move(installation)) {}

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path configFile() const { return folder_ / "config.db"; }
    std::filesystem::path profileListFile() const { return folder_ / "profiles.db"; }
    std::filesystem::path profilesFolder() const { return folder_ / "profiles"; }
    std::filesystem::path sessionFile(const std::string& profile) const {
        return profilesFolder() / os::pathFromUtf8(profile + ".db");
    }
    std::filesystem::path wholeDayFile(const std::string& profile) const {
        return profilesFolder() / os::pathFromUtf8(profile);
    }
    std::filesystem::path reminderFile(const std::string& profile) const {
        return profilesFolder() / os::pathFromUtf8(profile + ".rem");
    }
    std::filesystem::path soundFile() const { return folder_ / "sound.db"; }
    std::filesystem::path defaultReminderSound() const { return installation_ / "sound" / "rmd.wav"; }
    std::filesystem::path defaultShutdownSound() const { return installation_ / "sound" / "shutd.wav"; }
    std::filesystem::path runningIcon() const { return installation_ / "icon" / "t64.ico"; }
    std::filesystem::path stoppedIcon() const { return installation_ / "icon" / "t64b.ico"; }
    std::filesystem::path helpPage() const { return installation_ / "Tallowby - Help.htm"; }

  private:
    std::filesystem::path folder_;
    std::filesystem::path installation_;
};

} // namespace tallowby::store
