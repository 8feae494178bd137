#include "rule_files.h"

#include "support/file_bytes.h"

namespace tallowby::e2e {

void writeCrLfLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    testsupport::writeFile(file, bytes);
}

void writeConfig(const std::filesystem::path& programFolder, const std::string& profile,
                 const ProgramSettings& settings) {
    writeCrLfLines(programFolder / "config.db",
                   {
                       profile,
                       "0",                                    // start with the desktop session
                       settings.blockTaskManager ? "1" : "0",  // Block Task Manager
                       settings.sessionNotices ? "1" : "0",    // notice before each session
                       settings.stopAsksCheckCode ? "1" : "0", // check code to Stop
                       settings.exitAsksCheckCode ? "1" : "0", // check code to Exit
                       "0",                                    // check code to save the options
                       "10",                                   // check code length
                       "0",                                    // check code to Pause
                       "1",                                    // whole-day panel shown
                       settings.startToIcon ? "1" : "0",       // start to the notification area
                       "0",                                    // nothing when the window is hidden
                       "0",                                    // notice at each session end
                       settings.closeWindows ? "1" : "0",      // window action
                       settings.websiteBlocksStay ? "1" : "0", // website blocks stay
                   });
}

void writeProfile(const std::filesystem::path& programFolder, const ProfileRules& rules) {
    writeCrLfLines(programFolder / "profiles.db", {rules.name});
    std::vector<std::string> sessionLines;
    for (const SessionRule& s : rules.sessions) {
        sessionLines.insert(sessionLines.end(),
                            {s.start, s.end, s.weekDays, s.mode, s.processes, s.websites});
    }
    const std::filesystem::path profiles = programFolder / "profiles";
    std::filesystem::create_directories(profiles);
    writeCrLfLines(profiles / (rules.name + ".db"), sessionLines);
    const WholeDayRule& w = rules.wholeDay;
    writeCrLfLines(profiles / rules.name, {w.weekDays, w.mode, w.processes, w.websites});
    if (!rules.reminders.empty())
        writeCrLfLines(profiles / (rules.name + ".rem"), rules.reminders);
}

} // namespace tallowby::e2e
