#pragma once
// Every data file is named relative to the program folder (the folder of the executable).
#include <filesystem>
#include <string>

namespace tallowby::store {

class ProgramPaths {
  public:
    explicit ProgramPaths(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path configFile() const { return folder_ / "config.db"; }
    std::filesystem::path profileListFile() const { return folder_ / "profiles.db"; }
    std::filesystem::path profilesFolder() const { return folder_ / "profiles"; }
    std::filesystem::path sessionFile(const std::string& profile) const {
        return profilesFolder() / (profile + ".db");
    }
    std::filesystem::path wholeDayFile(const std::string& profile) const {
        return profilesFolder() / profile;
    }
    std::filesystem::path reminderFile(const std::string& profile) const {
        return profilesFolder() / (profile + ".rem");
    }
    std::filesystem::path soundFile() const { return folder_ / "sound.db"; }
    std::filesystem::path defaultReminderSound() const { return folder_ / "sound" / "rmd.wav"; }
    std::filesystem::path defaultShutdownSound() const { return folder_ / "sound" / "shutd.wav"; }
    std::filesystem::path runningIcon() const { return folder_ / "icon" / "t64.ico"; }
    std::filesystem::path stoppedIcon() const { return folder_ / "icon" / "t64b.ico"; }
    std::filesystem::path helpPage() const { return folder_ / "Tallowby - Help.htm"; }

  private:
    std::filesystem::path folder_;
};

} // namespace tallowby::store
