#pragma once
// The lines of "config.db", by meaning.
#include <string>
#include <string_view>

#include "store/text_file.h"

namespace tallowby::store {

enum class ConfigLine : int {
    Profile = 0,             // name of the current profile
    StartWithSystem = 1,     // flag: start with the desktop session
    BlockTaskManager = 2,    // flag
    SessionReminder = 3,     // flag: notice ten minutes before each session
    CheckCodeToStop = 4,     // flag
    CheckCodeToExit = 5,     // flag
    CheckCodeToSave = 6,     // flag: check code to save the options
    CheckCodeLength = 7,     // decimal number of characters
    CheckCodeToPause = 8,    // flag
    ShowWholeDay = 9,        // flag: whole-day panel shown
    StartToIcon = 10,        // flag: start to the notification area
    RunsWhenHidden = 11,     // "1" run when hidden, "2" ask, anything else nothing
    SessionEndReminder = 12, // flag: notice at each session end
    WindowAction = 13,       // "0" minimise, "1" close
    WebsiteBlocksStay = 14,  // flag: website blocks stay until their session ends
};

// How many lines a complete configuration has.
constexpr int kConfigLineCount = 15;
// How many lines a configuration has at least without a word at start: one written before the
// website blocks could stay lacks the last line, which reads as off, as it was then.
constexpr int kConfigLinesToReport = 14;

// The line's text, "" when the file is shorter.
const std::string& configValue(const Lines& configLines, ConfigLine line);

// Line 0 as the window shows it: a name longer than any profile's can be is cut.
std::string shownProfileName(const Lines& configLines);

// Whether a flag line is exactly "1".
bool configFlag(const Lines& configLines, ConfigLine line);

// Whether the windows of blocked programs are closed rather than minimised: every line 13 but "0"
// closes them. The Options dialog shows the same reading, so it never says "minimise" while windows
// are closed.
bool closesWindows(const Lines& configLines);
bool closesWindows(std::string_view windowActionLine);

// Stores a value, adding empty lines first when the list is shorter.
void setConfigValue(Lines& configLines, ConfigLine line, std::string value);

} // namespace tallowby::store
