#include "store/load_report.h"

#include <algorithm>
#include <system_error>

#include "os/files.h"
#include "store/config_lines.h"
#include "store/entry_list.h"
#include "store/host_names.h"
#include "store/line_values.h"
#include "store/profile_files.h"
#include "store/record_groups.h"
#include "store/reminder_records.h"
#include "store/report_text.h"
#include "store/rule_limits.h"
#include "store/session_records.h"
#include "store/time_of_day.h"

namespace tallowby::store {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kWholeDayLineCount = 4;
constexpr std::size_t kShutdownLineCount = 5;

bool fileExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// What the tick and the panels will not read of a list line: the entries beyond the bound, the text
// after the last ";".
void checkEntryList(LoadReport& report, const std::string& where, const char* listName,
                    const std::string& line) {
    const auto entries = static_cast<std::size_t>(std::ranges::count(line, ';'));
    if (entries > kMaxListEntries)
        report.add(where + ": the " + listName + " has " + std::to_string(entries) +
                   " entries; only the first " + std::to_string(kMaxListEntries) + " are read.");
    const std::size_t read = line.rfind(';') + 1; // 0 when there is none
    if (read < line.size())
        report.add(where + ": the " + listName + " is read only as far as " +
                   quotedExcerpt(line.substr(0, read)) + "; " + quotedExcerpt(line.substr(read)) +
                   " is not read (each entry needs a \";\" after it).");
}

// A website the hosts file cannot block: a URL, a path, an underscore.
void checkWebsites(LoadReport& report, const std::string& where, const char* listName,
                   const std::string& line) {
    checkEntryList(report, where, listName, line);
    for (const std::string& site : readEntryList(line)) {
        if (!isPlainHostName(site))
            report.add(where + ": " + quotedExcerpt(site) + " in the " + listName +
                       " is not a host name (such as www.example.com) and is not blocked.");
    }
}

void checkTrailingLines(LoadReport& report, const fs::path& file, const RecordLayout& layout,
                        std::size_t lineCount, const char* recordName) {
    if (lineCount <= layout.first)
        return;
    const std::size_t extra = (lineCount - layout.first) % layout.size;
    if (extra != 0)
        report.add(file.string() + ": " +
                   (extra == 1 ? std::string("the last line does not")
                               : "the last " + std::to_string(extra) + " lines do not") +
                   " make a whole " + recordName + " (" + std::to_string(layout.size) + " lines) and " +
                   (extra == 1 ? "is" : "are") + " not read.");
}

// Records beyond the bound stay in the file, unread.
void checkRecordCount(LoadReport& report, const fs::path& file, const RecordLayout& layout,
                      std::size_t lineCount, int bound, const std::string& records, const std::string& why) {
    const int count = recordCount(layout, lineCount);
    if (count > bound)
        report.add(file.string() + " holds " + std::to_string(count) + " " + records + "; only the first " +
                   std::to_string(bound) + " are read" + why + ".");
}

void checkSessions(LoadReport& report, const Lines& lines, const fs::path& file) {
    checkRecordCount(report, file, kSessionLayout, lines.size(), kMaxSessions, "sessions",
                     " (a day holds at most " + std::to_string(kMaxSessions) + " sessions of five minutes)");
    const int count = sessionCount(lines.size());
    for (int i = 0; i < count; ++i) {
        const std::string& start = lineAt(lines, 6 * i);
        const std::string& end = lineAt(lines, 6 * i + 1);
        const std::string where =
            file.string() + ": session " + std::to_string(i + 1) + " (" + sessionCaption(lines, i) + ")";
        const std::optional<std::int64_t> startMs = readTimeOfDay(start);
        const std::optional<std::int64_t> endMs = readTimeOfDay(end);
        if (!startMs || !endMs) {
            report.add(where + " is not enforced: " + quotedExcerpt(startMs ? end : start) +
                       " is not a time of day (HH:MM).");
            continue;
        }
        if (*startMs >= *endMs)
            report.add(where + " is not enforced: it does not end after it starts.");
        const std::string& mode = lineAt(lines, 6 * i + 3);
        if (mode != "0" && mode != "1")
            report.add(where + ": the mode line " + quotedExcerpt(mode) +
                       " is neither 0 (Block) nor 1 (Focus); the session blocks its listed programs.");
        checkEntryList(report, where, "program list", lineAt(lines, 6 * i + 4));
        checkWebsites(report, where, "website list", lineAt(lines, 6 * i + 5));
    }
    checkTrailingLines(report, file, kSessionLayout, lines.size(), "session");
}

void checkWholeDay(LoadReport& report, const Lines& lines, const fs::path& file) {
    if (lines.empty())
        return;
    if (lines.size() < kWholeDayLineCount)
        report.add(file.string() + " has " + std::to_string(lines.size()) +
                   " of its 4 lines; the missing ones read as empty.");
    checkEntryList(report, file.string(), "whole-day program list", lineAt(lines, 2));
    checkWebsites(report, file.string(), "whole-day website list", lineAt(lines, 3));
}

void checkReminders(LoadReport& report, const Lines& lines, const fs::path& file) {
    if (lines.empty())
        return;
    if (lines.size() < kShutdownLineCount)
        report.add(file.string() + " has " + std::to_string(lines.size()) +
                   " of its 5 shutdown lines; the missing ones read as empty.");
    else if (lineAt(lines, 0).find('1') != std::string::npos && !readTimeOfDay(lineAt(lines, 1)))
        report.add(file.string() + ": the automatic shutdown is off: its time " +
                   quotedExcerpt(lineAt(lines, 1)) + " is not a time of day (HH:MM).");
    checkRecordCount(report, file, kReminderLayout, lines.size(), kMaxReminders, "reminders", "");
    const int count = reminderCount(lines.size());
    for (int i = 0; i < count; ++i) {
        const std::size_t first = kReminderLayout.first + kReminderLayout.size * i;
        const std::string& time = lineAt(lines, first);
        if (!readTimeOfDay(time))
            report.add(file.string() + ": reminder " + std::to_string(i + 1) +
                       " is never shown: " + quotedExcerpt(time) + " is not a time of day (HH:MM).");
        if (lineAt(lines, first + 3).size() > kMaxSubjectBytes)
            report.add(file.string() + ": the subject of reminder " + std::to_string(i + 1) +
                       " is longer than " + std::to_string(kMaxSubjectBytes) +
                       " bytes; only its beginning is shown.");
    }
    checkTrailingLines(report, file, kReminderLayout, lines.size(), "reminder");
}

void checkConfig(LoadReport& report, const Lines& config, const fs::path& file) {
    if (!fileExists(file)) {
        report.add(file.string() + " is missing: no profile is loaded and every option is off.");
        return;
    }
    if (config.size() < static_cast<std::size_t>(kConfigLinesToReport))
        report.add(file.string() + " has " + std::to_string(config.size()) + " of its " +
                   std::to_string(kConfigLinesToReport) + " lines; the options on the missing lines are off" +
                   (closesWindows(config) ? " and the windows of blocked programs are closed." : "."));
    const std::string& name = configValue(config, ConfigLine::Profile);
    if (name.empty())
        report.add(file.string() + " names no profile: no rules are loaded.");
    else if (profileNameReadFailure(name))
        report.add(file.string() + " names the profile " + quotedExcerpt(name) +
                   ", which is not a plain file name: no rules are loaded.");
}

} // namespace

void LoadReport::add(std::string_view problem) {
    problems_.push_back(printable(problem));
}

void LoadReport::unreadable(const FileError& error) {
    add(describeFailure("read", error));
}

std::string profileForFiles(const Lines& configLines) {
    const std::string& name = configValue(configLines, ConfigLine::Profile);
    return profileNameReadFailure(name) ? std::string() : name;
}

void checkLoadedLists(LoadReport& report, const LoadedLists& lists, const ProgramPaths& paths) {
    // A folder reads as no file; unlike a missing file, it is no choice of the user's. Any other kind
    // that is not a regular file (a link, a pipe) is told by the read that refused it.
    const auto folderInPlace = [&](const fs::path& file) {
        std::optional<os::FileInfo> info;
        try {
            info = os::ownFileInfo(paths.folder(), file);
        } catch (const FileError&) {
        }
        if (info && info->kind == os::FileKind::Folder)
            report.add(file.string() + " is a folder, not a file: the rules it should hold are not read.");
    };
    for (const fs::path& file : {paths.configFile(), paths.profileListFile(), paths.soundFile()})
        folderInPlace(file);
    checkConfig(report, lists.configLines, paths.configFile());
    const std::string profile = profileForFiles(lists.configLines);
    if (profile.empty())
        return;
    const fs::path sessions = paths.sessionFile(profile);
    const fs::path wholeDay = paths.wholeDayFile(profile);
    const fs::path reminders = paths.reminderFile(profile);
    // One missing file just means no rules of its kind (a profile written by hand may have no
    // reminders); none at all means the name is not the profile meant.
    if (!fileExists(sessions) && !fileExists(wholeDay) && !fileExists(reminders)) {
        report.add(paths.configFile().string() + " names the profile " + quotedExcerpt(profile) +
                   ", which has no files in " + paths.profilesFolder().string() + ": no rules are loaded.");
        return;
    }
    for (const fs::path& file : {sessions, wholeDay, reminders})
        folderInPlace(file);
    checkSessions(report, lists.sessionLines, sessions);
    checkWholeDay(report, lists.wholeDayLines, wholeDay);
    checkReminders(report, lists.reminderLines, reminders);
}

} // namespace tallowby::store
