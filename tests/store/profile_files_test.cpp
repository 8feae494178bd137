// Profile names, and Add, Copy, Rename and Remove on a real folder: each does all of its steps or
// leaves the folder as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <map>

#include "store/profile_files.h"
#include "store/profile_repair.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::store {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

// Every file below the folder with its bytes; a folder, a link, a pipe by what it is.
std::map<std::string, std::string> contentsOf(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        contents[fs::relative(entry.path(), folder).string()] =
            entry.is_symlink()        ? "<link to " + fs::read_symlink(entry.path()).string() + ">"
            : entry.is_directory()    ? "<folder>"
            : entry.is_regular_file() ? readFile(entry.path())
                                      : "<other>";
    return contents;
}

// Two profiles, "Home" the default; each file holds its own name.
struct ProfileFilesTest : testing::Test {
    TempFolder dir;
    ProgramPaths paths{dir.path()};
    Lines profiles{"Home", "Work"};
    Lines config{"Home", "1", "0"};

    void SetUp() override {
        fs::remove_all(paths.profilesFolder());
        fs::create_directory(paths.profilesFolder());
        for (const std::string name : {"Home", "Work"})
            for (const fs::path& file : profileFiles(paths, name))
                writeFile(file, file.filename().string() + "\r\n");
    }
    fs::path file(const std::string& name) const { return paths.profilesFolder() / name; }
};

TEST(ProfileName, TypedNamesAreTrimmedAndMustMakeFileNames) {
    const std::pair<std::vector<std::string>, std::optional<std::string>> groups[] = {
        {{"  Home  ", "\tStudy", "home", "Home.dbx", "B\xc3\xbcro", std::string(251, 'x')}, std::nullopt},
        {{"", " \t "}, "Failed - Please type profile name."},
        {{".", ".."}, "Failed - profile name can not be \".\" or \"..\"."},
        {{"../config", "a/b", "a\\b"}, "Failed - profile name can not contain \"/\" or \"\\\"."},
        {{"x\ny", "x\r", std::string("a\0b", 3)},
         "Failed - profile name can not contain control characters or line breaks."},
        {{std::string(252, 'x')}, "Failed - profile name is too long."},
        {{"Home.db", "Home.rem"}, "Failed - profile name can not end with \".db\" or \".rem\"."},
    };
    for (const auto& [names, failure] : groups)
        for (const std::string& typed : names)
            EXPECT_EQ(profileNameFailure(trimProfileName(typed)), failure) << typed;
    EXPECT_EQ(trimProfileName("  Home Office\t"), "Home Office");
}

TEST_F(ProfileFilesTest, AddMakesANewProfilesFilesAndUndoTakesThemBack) {
#ifdef _WIN32
    // Windows file names ignore case, so "home" there names Home's files and is refused
    // (windows_files_test.cpp); a new name shows the rest.
    const std::string added = "garden";
#else
    const std::string added = "home"; // differs from "Home" only in case
#endif
    const auto before = contentsOf(dir.path());
    ProfileChange change = addProfile(paths, profiles, "  " + added + "  ");
    ASSERT_EQ(change.failure, std::nullopt);
    EXPECT_EQ(change.profileLines, (Lines{"Home", "Work", added}));
    EXPECT_EQ(readFile(file(added)), "0000000\r\n0\r\n\r\n\r\n");
    EXPECT_EQ(readFile(file(added + ".db")), "");
    EXPECT_EQ(readFile(file(added + ".rem")), "0000000\r\n22:30\r\n1\r\n1\r\n1\r\n");
    change.undo();
    EXPECT_EQ(contentsOf(dir.path()), before);
}

TEST_F(ProfileFilesTest, RefusalsAndFailedStepsLeaveEverythingAsItWas) {
    enum Operation { Add, Copy, Rename, Remove };
    const auto homeRemIsAFolder = [](ProfileFilesTest& t) {
        fs::remove(t.file("Home.rem"));
        fs::create_directory(t.file("Home.rem"));
    };
    const std::string exists = "Failed - profile name already exists.";
    const std::string inTheWay = "Failed - profile file already exists: ";
    const struct {
        std::function<void(ProfileFilesTest&)> prepare;
        Operation operation;
        std::string name; // the new name, or the name in row 0 for Copy and Remove
        std::string failure;
    } cases[] = {
        {{}, Add, " Work", exists},
        {[](auto& t) { writeFile(t.file("X.rem"), "old"); }, Add, "X", inTheWay + file("X.rem").string()},
        {[](auto& t) { fs::remove_all(t.paths.profilesFolder()); }, Add, "X",
         "Failed - could not create " + file("X").string() + ": No such file or directory"},
        {[](auto& t) { t.profiles.push_back("Home_copy"); }, Copy, "Home", exists},
        {[](auto& t) {
             fs::remove(t.file("Home.rem"));
             writeFile(t.file("Home_copy.rem"), "");
         },
         Copy, "Home", inTheWay + file("Home_copy.rem").string()},
        {homeRemIsAFolder, Copy, "Home",
         "Failed - could not read " + file("Home.rem").string() + ": Is a directory"},
#ifndef _WIN32
        // Only regular files are copied: a pipe would never end, a device never stop, and a link may
        // lead out of the profiles folder.
        {[](auto& t) {
             fs::remove(t.file("Home.rem"));
             ASSERT_EQ(::mkfifo(t.file("Home.rem").c_str(), 0600), 0);
         },
         Copy, "Home",
         "Failed - could not read " + file("Home.rem").string() + ": it is a named pipe, not a regular file"},
        {[](auto& t) {
             fs::remove(t.file("Home.rem"));
             fs::create_symlink("/dev/zero", t.file("Home.rem"));
         },
         Copy, "Home",
         "Failed - could not read " + file("Home.rem").string() +
             ": it is a symbolic link, not a regular file"},
        {[](auto& t) {
             fs::remove(t.file("Home"));
             fs::create_symlink("/etc/passwd", t.file("Home"));
         },
         Copy, "Home",
         "Failed - could not read " + file("Home").string() + ": it is a symbolic link, not a regular file"},
        // A link is not moved to the new name either: it stays where it is, and so does its target.
        {[](auto& t) {
             fs::remove(t.file("Home.db"));
             fs::create_symlink("/etc/passwd", t.file("Home.db"));
         },
         Rename, "X",
         "Failed - could not rename " + file("Home.db").string() +
             ": it is a symbolic link, not a regular file"},
#endif
        {{}, Rename, "Home ", exists},
        {[](auto& t) { fs::create_directory(t.file("X.db")); }, Rename, "X",
         inTheWay + file("X.db").string()},
        {homeRemIsAFolder, Rename, "X",
         "Failed - could not rename " + file("Home.rem").string() + ": it is a folder, not a regular file"},
        {{}, Remove, "Home", "Failed - Can not remove default profile."},
    };
    for (const auto& c : cases) {
        profiles = {"Home", "Work"};
        SetUp();
        if (c.prepare)
            c.prepare(*this);
        const auto before = contentsOf(dir.path());
        const ProfileChange change = c.operation == Add    ? addProfile(paths, profiles, c.name)
                                     : c.operation == Copy ? copyProfile(paths, profiles, 0)
                                     : c.operation == Rename
                                         ? renameProfile(paths, profiles, config, 0, c.name)
                                         : removeProfile(paths, profiles, config, 0);
        EXPECT_EQ(change.failure, c.failure) << c.operation << " " << c.name;
        EXPECT_EQ(contentsOf(dir.path()), before) << c.operation << " " << c.name;
        EXPECT_TRUE(change.made.empty() && change.leftOver.empty());
    }
}

TEST_F(ProfileFilesTest, CopySkipsAMissingFileAndRenameKeepsFilesOfANameListedTwice) {
    fs::remove(file("Home.rem"));
    ProfileChange copy = copyProfile(paths, profiles, 0);
    ASSERT_EQ(copy.failure, std::nullopt);
    EXPECT_EQ(copy.profileLines, (Lines{"Home", "Work", "Home_copy"}));
    EXPECT_EQ(readFile(file("Home_copy.db")), "Home.db\r\n");
    EXPECT_FALSE(fs::exists(file("Home_copy.rem")));

    ProfileChange rename =
        renameProfile(paths, {"Home", "Work", "Home_copy", "Home_copy"}, config, 2, "Spare");
    EXPECT_EQ(rename.profileLines, (Lines{"Home", "Work", "Spare", "Home_copy"}));
    EXPECT_EQ(rename.configLines, std::nullopt) << "not the default";
    EXPECT_EQ(rename.finish(), std::nullopt);
    EXPECT_EQ(readFile(file("Spare.db")), "Home.db\r\n");
    EXPECT_EQ(fs::hard_link_count(file("Spare.db")), 1u) << "two profiles share a file";
    EXPECT_EQ(readFile(file("Home_copy.db")), "Home.db\r\n") << "still listed";
}

TEST_F(ProfileFilesTest, RenameOfTheDefaultKeepsBothNamesUntilFinished) {
    ProfileChange change = renameProfile(paths, profiles, config, 0, "Base");
    EXPECT_EQ(change.profileLines, (Lines{"Base", "Work"}));
    EXPECT_EQ(change.configLines, (Lines{"Base", "1", "0"}));
    EXPECT_EQ(readFile(file("Home.rem")), "Home.rem\r\n");
    EXPECT_EQ(change.finish(), std::nullopt);
    for (const std::string ending : {"", ".db", ".rem"}) {
        EXPECT_EQ(readFile(file("Base" + ending)), "Home" + ending + "\r\n");
        EXPECT_FALSE(fs::exists(file("Home" + ending)));
    }
    const auto renamed = contentsOf(dir.path());
    renameProfile(paths, change.profileLines, *change.configLines, 0, "Home").undo();
    EXPECT_EQ(contentsOf(dir.path()), renamed);
}

TEST_F(ProfileFilesTest, RemoveDeletesInFinishOnlyFilesNoListedProfileOwns) {
    fs::remove(file("Work.rem"));
    writeFile(dir / "config", "not a profile's");
    const auto before = contentsOf(dir.path());
    // "Work" listed twice, a name outside the folder, a whole-day file that is Home's session file.
    const Lines listed{"Home", "Work", "../config", "Home.db", "Work"};
    for (std::size_t row = 1; row < 4; ++row) {
        ProfileChange change = removeProfile(paths, listed, config, row);
        EXPECT_EQ(change.profileLines.size(), 4u);
        EXPECT_EQ(change.finish(), std::nullopt);
        EXPECT_EQ(contentsOf(dir.path()), before) << listed[row];
    }
    ProfileChange work = removeProfile(paths, profiles, config, 1);
    EXPECT_EQ(work.profileLines, Lines{"Home"});
    EXPECT_EQ(contentsOf(dir.path()), before) << "nothing goes before finish";
    EXPECT_EQ(work.finish(), std::nullopt);
    EXPECT_FALSE(fs::exists(file("Work")) || fs::exists(file("Work.db")));
    EXPECT_TRUE(fs::exists(file("Home.db")));
}

} // namespace
} // namespace tallowby::store

namespace tallowby::store {
namespace {

// A removed profile's file that is a link (to a file outside, say) is left as it is and named; its
// regular files go.
TEST_F(ProfileFilesTest, ARemovedProfilesLinkIsLeftAsItIsAndNamed) {
    writeFile(dir / "outside", "root:x:0:0\n");
    fs::remove(file("Work.db"));
    fs::create_symlink(dir / "outside", file("Work.db"));
    ProfileChange remove = removeProfile(paths, profiles, config, 1);
    ASSERT_EQ(remove.failure, std::nullopt);
    EXPECT_EQ(remove.finish(),
              file("Work.db").string() + " is left as it is: it is a symbolic link, not a regular file.");
    EXPECT_TRUE(fs::is_symlink(file("Work.db")));
    EXPECT_EQ(readFile(dir / "outside"), "root:x:0:0\n");
    EXPECT_FALSE(fs::exists(file("Work")) || fs::exists(file("Work.rem")));
}

// A rename killed after each of its steps, then a start: the lists name a profile with files, no
// name is kept from use by files no list names, and nothing of the user's is removed.
TEST_F(ProfileFilesTest, AStartPutsRightWhatAKilledRenameLeft) {
    enum Step { FilesLinked, ConfigWritten, ListWritten };
    for (const Step killedAfter : {FilesLinked, ConfigWritten, ListWritten}) {
        SCOPED_TRACE(killedAfter);
        profiles = {"Home", "Work"};
        SetUp();
        ProfileChange rename = renameProfile(paths, profiles, config, 0, "Base");
        ASSERT_EQ(rename.failure, std::nullopt);
        const Lines configOnDisk = killedAfter >= ConfigWritten ? *rename.configLines : config;
        const Lines listOnDisk = killedAfter >= ListWritten ? rename.profileLines : profiles;

        const ProfileRepair repair = repairProfiles(paths, listOnDisk, configOnDisk);
        const Lines listed = repair.profileLines.value_or(listOnDisk);
        EXPECT_NE(std::ranges::find(listed, configOnDisk[0]), listed.end()) << "the default is listed";
        for (const std::string name : {"Home", "Base"}) {
            const bool isListed = std::ranges::find(listed, name) != listed.end();
            for (const fs::path& f : profileFiles(paths, name))
                EXPECT_EQ(fs::exists(f), isListed) << f;
        }
        EXPECT_EQ(readFile(file("Work.db")), "Work.db\r\n");
        EXPECT_EQ(repair.told.size(), repair.profileLines ? 1u : 0u) << testing::PrintToString(repair.told);
    }
}

TEST_F(ProfileFilesTest, AStartRemovesOnlyLeftoversThatHoldNothingOfTheUsers) {
    ProfileChange add = addProfile(paths, profiles, "Fresh"); // killed before the list was written
    ASSERT_EQ(add.failure, std::nullopt);
    ProfileChange copy = copyProfile(paths, profiles, 1); // the same
    ASSERT_EQ(copy.failure, std::nullopt);
    writeFile(file("Notes.db"), "09:00\r\n10:00\r\n"); // a session file of the user's own
    const ProfileRepair repair = repairProfiles(paths, profiles, config);
    EXPECT_EQ(repair.profileLines, std::nullopt);
    EXPECT_EQ(repair.removed.size(), 6u);
    for (const std::string name : {"Fresh", "Work_copy"})
        for (const fs::path& f : profileFiles(paths, name))
            EXPECT_FALSE(fs::exists(f)) << f;
    EXPECT_EQ(readFile(file("Notes.db")), "09:00\r\n10:00\r\n");
    ASSERT_EQ(repair.told.size(), 1u);
    EXPECT_NE(repair.told[0].find("a profile named \"Notes\" can be made once it is moved away"),
              std::string::npos);
}

} // namespace
} // namespace tallowby::store
