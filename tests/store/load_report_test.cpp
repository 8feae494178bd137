// What a load tells the user it could not read, which names from files may name profile files,
// which files are not read as rule files at all, and the clean-up of killed writers' files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "store/config_lines.h"
#include "store/load_report.h"
#include "store/rule_limits.h"
#include "store/stale_temporaries.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::store {
namespace {

namespace fs = std::filesystem;
using testsupport::TempFolder;
using testsupport::writeFile;

const Lines kConfig = {"Work", "0", "0", "0", "0", "0", "0", "10", "0", "1", "0", "2", "0", "0"};
const Lines kSession = {"09:00", "12:00", "1111111", "0", "code.exe;", "news.example;"};
const Lines kWholeDay = {"0100000", "0", "game.exe;", "social.example;"};
const Lines kReminders = {"0000000", "22:30", "1", "1", "1", "08:00", "1", "1111111", "Stand up"};

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines withConfigLine(int line, std::string value) {
    Lines config = kConfig;
    config[static_cast<std::size_t>(line)] = std::move(value);
    return config;
}

Lines times(int count, const Lines& record) {
    Lines lines;
    for (int i = 0; i < count; ++i)
        lines = lines + record;
    return lines;
}

std::string entries(std::size_t count) {
    std::string line;
    for (std::size_t i = 0; i < count; ++i)
        line += "e" + std::to_string(i) + ".example;";
    return line;
}

// Files that hold as much as is read, or one more of each kind.
Lines sessionsOf(int count, std::size_t listEntries) {
    return times(count, {"09:00", "12:00", "1111111", "0", entries(listEntries), ""});
}
Lines remindersOf(int count, std::size_t subjectBytes) {
    return Lines{"0000000", "22:30", "1", "1", "1"} +
           times(count, {"08:00", "1", "1111111", std::string(subjectBytes, 's')});
}

struct Damage {
    const char* what;
    Lines config, sessions, wholeDay, reminders;
    // A piece of text each problem must hold, in order; none when the files are sound.
    std::vector<std::string> problems;
};

class LoadReportTest : public testing::TestWithParam<Damage> {
  protected:
    LoadReportTest() : paths(folder.path()) { fs::create_directory(paths.profilesFolder()); }

    std::vector<std::string> report(const Damage& damage) {
        writeFile(paths.configFile(), joinLines(damage.config));
        writeFile(paths.sessionFile("Work"), joinLines(damage.sessions));
        writeFile(paths.wholeDayFile("Work"), joinLines(damage.wholeDay));
        writeFile(paths.reminderFile("Work"), joinLines(damage.reminders));
        LoadReport found;
        checkLoadedLists(found, {damage.config, damage.sessions, damage.wholeDay, damage.reminders}, paths);
        return found.problems();
    }

    TempFolder folder;
    ProgramPaths paths;
};

TEST_P(LoadReportTest, NamesEachRuleThatIsNotReadAndItsFile) {
    const Damage& damage = GetParam();
    const std::vector<std::string> problems = report(damage);
    ASSERT_EQ(problems.size(), damage.problems.size())
        << damage.what << ": " << testing::PrintToString(problems);
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_NE(problems[i].find(damage.problems[i]), std::string::npos)
            << damage.what << ": " << problems[i];
        EXPECT_NE(problems[i].find(folder.path().string()), std::string::npos)
            << "names its file: " << problems[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadReportTest,
    testing::Values(
        Damage{"sound", kConfig, kSession + kSession, kWholeDay, kReminders, {}},
        Damage{"short config",
               Lines(kConfig.begin(), kConfig.begin() + 9),
               kSession,
               kWholeDay,
               kReminders,
               {"has 9 of its 14 lines"}},
        Damage{
            "no profile named", withConfigLine(0, ""), kSession, kWholeDay, kReminders, {"names no profile"}},
        Damage{"unreadable session times",
               kConfig,
               kSession + Lines{"9.00", "12:00", "1111111", "0", "", ""} +
                   Lines{"10:00", "25:00", "1", "0", "", ""},
               kWholeDay,
               kReminders,
               {"session 2 (9.00-12:00) is not enforced: \"9.00\"",
                "session 3 (10:00-25:00) is not enforced: \"25:00\""}},
        Damage{"backwards session and odd mode",
               kConfig,
               {"12:00", "09:00", "1111111", "2", "", ""},
               kWholeDay,
               kReminders,
               {"does not end after it starts", "the mode line \"2\""}},
        Damage{"cut-off records",
               kConfig,
               kSession + Lines{"13:00", "14:00"},
               kWholeDay,
               kReminders + Lines{"09:00", "1", "1111111"},
               {"the last 2 lines do not make a whole session",
                "the last 3 lines do not make a whole reminder"}},
        Damage{"lists cut short",
               kConfig,
               {"09:00", "12:00", "1111111", "0", "code.exe;vlc;game.exe;left", "news.example"},
               {"0100000", "0", "mpv;", "social.example;x.io;y"},
               kReminders,
               {"program list is read only as far as \"code.exe;vlc;game.exe;\"",
                "website list is read only as far as \"\"",
                "whole-day website list is read only as far as \"social.example;x.io;\""}},
        Damage{"websites that cannot be blocked",
               kConfig,
               {"09:00", "12:00", "1111111", "0", "", "https://news.example;news.example;"},
               {"0100000", "0", "", "my_site.example;"},
               kReminders,
               {"\"https://news.example\" in the website list is not a host name",
                "\"my_site.example\" in the whole-day website list is not a host name"}},
        Damage{"short whole-day and reminder files",
               kConfig,
               kSession,
               {"1111111", "0"},
               {"0000000", "22:30"},
               {"has 2 of its 4 lines", "has 2 of its 5 shutdown lines"}},
        Damage{
            "bad alarm times",
            kConfig,
            kSession,
            kWholeDay,
            {"0100000", "22.30", "1", "1", "1", "8:00am", "1", "1111111", "Stand up"},
            {"the automatic shutdown is off: its time \"22.30\"", "reminder 1 is never shown: \"8:00am\""}},
        Damage{"a line of megabytes and control characters",
               kConfig,
               {std::string(4 << 20, '9'), "12:00", "1111111", "0", "", ""},
               {"0100000", "0", "", "bad\x01site;"},
               kReminders,
               {"session 1 (" + std::string(40, '9') + "...-12:00) is not enforced: \"" +
                    std::string(40, '9') + "...\" is not",
                "\"bad\\x01site\" in the whole-day website list is not a host name"}},
        Damage{"as much as is read", kConfig, sessionsOf(288, 500), kWholeDay, remindersOf(1440, 1000), {}},
        Damage{"more than is read",
               kConfig,
               sessionsOf(1, 501) + sessionsOf(289, 1),
               {"0100000", "0", entries(501), ""},
               remindersOf(1, 1001) + times(1441, {"08:00", "1", "1111111", "s"}),
               {"holds 290 sessions; only the first 288 are read",
                "session 1 (09:00-12:00): the program list has 501 entries; only the first 500 are read",
                "the whole-day program list has 501 entries; only the first 500 are read",
                "holds 1442 reminders; only the first 1440 are read",
                "the subject of reminder 1 is longer than 1000 bytes"}}));

TEST(ProfileNameFromConfig, OnlyAPlainFileNameNamesProfileFiles) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Work", "Work"},
        {"Work.db", "Work.db"},
        {"../../etc/x", ""},
        {"/etc/shadow", ""},
        {std::string("a\0b", 3), ""},
        {"..", ""},
        {".", ""},
        {"a\\b", ""},
        {"tab\there", ""},
        {"", ""},
        {std::string(kLongestProfileName, 'n'), std::string(kLongestProfileName, 'n')},
        {std::string(kLongestProfileName + 1, 'n'), ""}};
    for (const auto& [name, forFiles] : names)
        EXPECT_EQ(profileForFiles(withConfigLine(0, name)), forFiles) << name;
    // A name of a megabyte is shown no longer than a profile's can be.
    EXPECT_EQ(shownProfileName(withConfigLine(0, std::string(1 << 20, 'n'))),
              std::string(kLongestProfileName, 'n') + "...");
}

TEST(ProfileNameFromConfig, AFileOutsideTheFolderIsNeverReadAndTheUserIsTold) {
    TempFolder folder;
    const ProgramPaths paths(folder / "program");
    fs::create_directories(paths.profilesFolder());
    writeFile(folder / "secret.db", "09:00\r\n");
    writeFile(paths.configFile(), "");
    LoadReport report;
    checkLoadedLists(report, {withConfigLine(0, "../../secret"), {}, {}, {}}, paths);
    ASSERT_EQ(report.problems().size(), 1u);
    EXPECT_NE(report.problems()[0].find("not a plain file name: no rules are loaded"), std::string::npos);

    LoadReport missing;
    checkLoadedLists(missing, {withConfigLine(0, "Typo"), {}, {}, {}}, paths);
    ASSERT_EQ(missing.problems().size(), 1u);
    EXPECT_NE(missing.problems()[0].find("\"Typo\", which has no files"), std::string::npos);
}

TEST(RuleFileKinds, OnlyRegularFilesAreReadAndNothingWaits) {
    TempFolder folder;
    const fs::path pipe = folder / "config.db";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A blocking open of a pipe without a writer would never return.
    try {
        readLines(pipe);
        ADD_FAILURE() << "a named pipe was read";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "it is a named pipe, not a regular file");
    }
    // A device that never ends is refused rather than read until memory runs out.
    fs::create_symlink("/dev/zero", folder / "zero");
    EXPECT_THROW(readLines(folder / "zero"), FileError);
    // A folder in a rule file's place holds no rules, and the user is told, as of the other kinds.
    const ProgramPaths paths(folder / "program");
    fs::create_directories(paths.sessionFile("Work"));
    writeFile(paths.wholeDayFile("Work"), joinLines(kWholeDay));
    EXPECT_EQ(readLines(paths.sessionFile("Work")), std::nullopt);
    LoadReport report;
    checkLoadedLists(report, {kConfig, {}, kWholeDay, {}}, paths);
    ASSERT_FALSE(report.problems().empty());
    EXPECT_EQ(report.problems().back(),
              paths.sessionFile("Work").string() +
                  " is a folder, not a file: the rules it should hold are not read.");

    // The size bound, with files just under and just over it (sparse: no disk is used).
    const fs::path large = folder / "large.db";
    writeFile(large, "a\r\n");
    fs::resize_file(large, kMaxRuleFileBytes);
    EXPECT_TRUE(readLines(large));
    fs::resize_file(large, kMaxRuleFileBytes + 1);
    try {
        readLines(large);
        ADD_FAILURE() << "a file over the bound was read";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("is larger than"), std::string::npos) << error.what();
    }
}

TEST(StaleTemporaries, OnlyTheWritersOwnOldFilesGo) {
    TempFolder folder;
    const auto start = std::chrono::system_clock::now();
    const auto age = [](const fs::path& file, int seconds) {
        const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    };
    for (const char* name :
         {".config.db.aB3xY9", ".hosts.Qw12Er", "config.db", ".config.db.short", ".config.db.a-b_cd",
          "config.db.aB3xY9", ".other.db.aB3xY9", ".config.db.fresh1"})
        writeFile(folder / name, "x");
    for (const char* old : {".config.db.aB3xY9", ".hosts.Qw12Er", "config.db", ".config.db.short",
                            ".config.db.a-b_cd", "config.db.aB3xY9", ".other.db.aB3xY9"})
        age(folder / old, 60);
    fs::create_symlink(folder / "config.db", folder / ".config.db.Link01");
    age(folder / ".config.db.Link01", 60);

    EXPECT_EQ(removeStaleTemporaries(folder.path(), "config.db", start), 1);
    EXPECT_FALSE(fs::exists(folder / ".config.db.aB3xY9"));
    // Another file's, an ordinary file, names that differ in shape, a link and a write under way stay.
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{".config.db.Link01", ".config.db.a-b_cd", ".config.db.fresh1",
                                        ".config.db.short", ".hosts.Qw12Er", ".other.db.aB3xY9", "config.db",
                                        "config.db.aB3xY9"}));
    // Without a name, any file's temporaries (the profiles folder holds only rule files).
    EXPECT_EQ(removeStaleTemporaries(folder.path(), {}, start), 2);
    EXPECT_TRUE(fs::exists(folder / "config.db"));
}

TEST(StaleTemporaries, NoListedProfilesFileIsTakenForOne) {
    TempFolder folder;
    EXPECT_EQ(temporaryName("Work.db", "aB3xY9"), ".Work.db\\aB3xY9");
    const auto start = std::chrono::system_clock::now() + std::chrono::seconds(2);
    // Left-overs: the current shape of any file's, the earlier shape of a listed profile's file.
    const std::vector<std::string> gone{".Work.db\\aB3xY9", ".gone.rem\\Qw12Er", ".Work.rem.Zz99Yy",
                                        ".study.Ab12Cd"};
    // A profile named like an earlier temporary of a file no profile has, and its own files.
    const std::vector<std::string> kept{".study.Summer", ".study.Summer.db", ".study.Summer.rem", "Work",
                                        "Work.db",       ".other.db.Zz99Yy", ".Summer.Winter"};
    for (const auto& names : {gone, kept})
        for (const std::string& name : names)
            writeFile(folder / name, "x");
    EXPECT_EQ(removeStaleProfileTemporaries(folder.path(),
                                            {"Work", ".study.Summer", "study", ".Summer.Winter"}, start),
              4);
    std::vector<std::string> left = kept;
    std::ranges::sort(left);
    EXPECT_EQ(folder.names(), left);
}

} // namespace
} // namespace tallowby::store
