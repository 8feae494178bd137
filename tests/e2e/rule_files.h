#pragma once
// The program folder's data files as a user of the program would leave them: the configuration, the
// profile list and one profile's sessions and whole-day rules, in the program's own CR LF text format.
#include <filesystem>
#include <string>
#include <vector>

namespace tallowby::e2e {

inline constexpr const char* kBlockMode = "0";
inline constexpr const char* kFocusMode = "1";

// Week days as the files spell them: seven flags, Sunday first.
inline constexpr const char* kMondayOnly = "0100000";
inline constexpr const char* kTuesdayOnly = "0010000";

struct SessionRule {
    std::string start;     // "HH:MM"
    std::string end;       // "HH:MM"
    std::string weekDays;  // e.g. kMondayOnly
    std::string mode;      // kBlockMode or kFocusMode
    std::string processes; // "a.exe;b.exe;"
    std::string websites;  // "x.example;"
};

struct WholeDayRule {
    std::string weekDays = "0000000";
    std::string mode = kBlockMode;
    std::string processes;
    std::string websites;
};

struct ProfileRules {
    std::string name = "Work";
    std::vector<SessionRule> sessions;
    WholeDayRule wholeDay{};
    // The reminder file's lines (shutdown settings, then reminders); no file when empty.
    std::vector<std::string> reminders;
};

struct ProgramSettings {
    bool blockTaskManager = false;
    bool closeWindows = false;   // else minimise
    bool startToIcon = false;    // start in the notification area, the window hidden
    bool sessionNotices = false; // a notice ten minutes before each session
    bool stopAsksCheckCode = false;
    bool exitAsksCheckCode = false;
    bool websiteBlocksStay = false; // website blocks stay until their session ends
};

// Writes each line followed by CR LF, replacing the file.
void writeCrLfLines(const std::filesystem::path& file, const std::vector<std::string>& lines);

// config.db naming the profile; every notice, check code and autostart option the settings do not
// name is off, so nothing but the rules acts and Exit asks for no code.
void writeConfig(const std::filesystem::path& programFolder, const std::string& profile,
                 const ProgramSettings& settings);

// profiles.db with the one profile, and its session file and whole-day file.
void writeProfile(const std::filesystem::path& programFolder, const ProfileRules& rules);

} // namespace tallowby::e2e
