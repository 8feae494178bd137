// An installed program's data folder filled from the installation's default files: what is missing
// of the user's own files comes, nothing the user has is touched, a removed profile stays removed,
// and what the program only reads (help page, sounds, icons) stays in the installation.
#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

#include "platform/system/default_files.h"
#include "store/sound_list.h"
#include "store/text_file.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

// An installation's default files, as the package lays them out, with made-up contents.
const std::map<std::string, std::string> kDefaults = {
    {"config.db", "Default\r\n0\r\n"},
    {"profiles.db", "Default\r\n"},
    {"profiles/Default.db", "sessions\r\n"},
    {"profiles/Default", "0000000\r\n0\r\n\r\n\r\n"},
    {"profiles/Default.rem", "reminders\r\n"},
    {"sound.db", "/usr/share/tallowby/sound/rmd.wav\r\n"},
    {"sound/rmd.wav", std::string("RIFF\0\0\0\0WAVE", 12)},
    {"sound/shutd.wav", std::string("RIFF\1\0\0\0WAVE", 12)},
    {"icon/t64.ico", std::string("\0\0\1\0", 4)},
    {"Tallowby - Help.htm", "<html></html>\n"},
};

// Read from the installation, never copied: an upgrade brings new ones to every user.
bool readFromTheInstallation(const std::string& name) {
    return name == "Tallowby - Help.htm" || name.starts_with("sound/") || name.starts_with("icon/");
}

std::map<std::string, std::string> usersOwnDefaults() {
    std::map<std::string, std::string> files;
    for (const auto& [name, bytes] : kDefaults) {
        if (!readFromTheInstallation(name))
            files.emplace(name, bytes);
    }
    return files;
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Every file below the folder with its bytes, by relative name.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).string()] = test::readFile(entry.path());
    }
    return files;
}

std::vector<std::string> names(const std::vector<fs::path>& paths) {
    std::vector<std::string> out;
    for (const fs::path& path : paths)
        out.push_back(path.string());
    std::sort(out.begin(), out.end());
    return out;
}

class DefaultFilesTest : public testing::Test {
  protected:
    DefaultFilesTest() {
        for (const auto& [name, bytes] : kDefaults) {
            fs::create_directories((defaults / name).parent_path());
            test::writeFile(defaults / name, bytes);
        }
        fs::create_directories(home);
        fs::permissions(home, fs::perms(0755));
    }

    void userHas(const std::string& name, const std::string& bytes) {
        fs::create_directories((data / name).parent_path());
        test::writeFile(data / name, bytes);
    }

    test::TempFolder temp;
    fs::path defaults = temp / "usr" / "share" / "tallowby";
    fs::path home = temp / "home";
    fs::path data = home / ".local" / "share" / "tallowby";
};

TEST_F(DefaultFilesTest, AFirstStartGetsTheUsersOwnFilesInFoldersOfItsOwn) {
    const auto copied = fillWithDefaults(defaults, data);

    EXPECT_EQ(filesBelow(data), usersOwnDefaults());
    std::vector<std::string> all;
    for (const auto& [name, bytes] : usersOwnDefaults())
        all.push_back(name);
    EXPECT_EQ(names(copied), all);
    EXPECT_FALSE(fs::exists(data / "sound")) << "no folder for what stays in the installation";
    // The folders it made are the user's alone; the home it found keeps its mode.
    for (const fs::path& folder : {home / ".local", home / ".local" / "share", data})
        EXPECT_EQ(modeOf(folder), 0700u) << folder;
    EXPECT_EQ(modeOf(home), 0755u);
    // Each copy was renamed into place whole: no temporary file is left beside it.
    for (const auto& entry : fs::recursive_directory_iterator(data))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();

    EXPECT_TRUE(fillWithDefaults(defaults, data).empty()) << "a second start has nothing to copy";
}

TEST_F(DefaultFilesTest, TheUsersFilesAreNeverReplacedAndOnlyWhatIsMissingComes) {
    userHas("config.db", "Work\r\n1\r\n");
    userHas("profiles.db", "Default\r\nWork\r\n");
    userHas("profiles/Default.db", "my sessions\r\n");
    userHas("profiles/Work.db", "work sessions\r\n");
    // Copies an earlier layout made of the installation's files stay, unread but for a sound
    // choice that names one.
    userHas("sound/rmd.wav", "my own chime");
    userHas("Tallowby - Help.htm", "the help page of an earlier version");
    fs::permissions(data, fs::perms(0750));

    const auto copied = fillWithDefaults(defaults, data);

    EXPECT_EQ(names(copied),
              (std::vector<std::string>{"profiles/Default", "profiles/Default.rem", "sound.db"}));
    const auto files = filesBelow(data);
    EXPECT_EQ(files.at("Tallowby - Help.htm"), "the help page of an earlier version");
    EXPECT_FALSE(files.contains("icon/t64.ico"));
    EXPECT_EQ(files.at("config.db"), "Work\r\n1\r\n");
    EXPECT_EQ(files.at("profiles/Default.db"), "my sessions\r\n");
    EXPECT_EQ(files.at("profiles/Work.db"), "work sessions\r\n");
    EXPECT_EQ(files.at("sound/rmd.wav"), "my own chime");
    EXPECT_EQ(files.at("profiles/Default"), kDefaults.at("profiles/Default"));
    EXPECT_EQ(modeOf(data), 0750u) << "a folder already there keeps its mode";
}

TEST_F(DefaultFilesTest, AnEarlierLayoutsSoundChoiceKeepsItsCopyAndAMissingOneTakesTheInstallations) {
    // The earlier layout copied the sounds in, and a saved choice names the copy.
    userHas("sound/rmd.wav", kDefaults.at("sound/rmd.wav"));
    userHas("sound.db", (data / "sound" / "rmd.wav").string() + "\r\n" +
                            (data / "sound" / "shutd.wav").string() + "\r\n");
    fillWithDefaults(defaults, data);

    store::RuleLists lists;
    ASSERT_TRUE(store::loadSound(lists, store::ProgramPaths(data, defaults)));
    EXPECT_EQ(lists.SoundLines[0], (data / "sound" / "rmd.wav").string());
    EXPECT_EQ(lists.SoundLines[1], (defaults / "sound" / "shutd.wav").string()) << "the copy is gone";
}

TEST_F(DefaultFilesTest, AProfileTheUserRemovedDoesNotComeBack) {
    // The profile manager removed "Default": it is gone from the list and its files with it. Its
    // files coming back would block a new profile of that name ("its files already exist").
    userHas("profiles.db", "Work\r\n");
    userHas("profiles/Work.db", "work sessions\r\n");

    fillWithDefaults(defaults, data);

    for (const char* name : {"profiles/Default.db", "profiles/Default", "profiles/Default.rem"})
        EXPECT_FALSE(fs::exists(data / name)) << name;
    EXPECT_TRUE(fs::exists(data / "config.db"));
}

TEST_F(DefaultFilesTest, AListedNameThatIsNoFileNameReachesNothingOutsideTheProfiles) {
    userHas("profiles.db", "../../outside\r\n..\r\n/etc/passwd\r\n");
    test::writeFile(defaults / ".." / "outside.db", "an installation file that is not a profile's");

    fillWithDefaults(defaults, data);

    EXPECT_FALSE(fs::exists(data / "profiles" / ".." / ".." / "outside.db"));
    for (const auto& [name, bytes] : filesBelow(data))
        EXPECT_FALSE(name.starts_with("profiles/")) << name;
}

TEST_F(DefaultFilesTest, WhatCannotBeReadOrMadeIsReportedAsAFileError) {
    EXPECT_THROW(fillWithDefaults(temp / "no installation", data), store::FileError);

    test::writeFile(temp / "a file", "");
    EXPECT_THROW(fillWithDefaults(defaults, temp / "a file" / "tallowby"), store::FileError);
}

} // namespace
} // namespace tallowby::platform
