#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/linux/desktop_entry.h"
#include "platform/linux/xdg_autostart.h"
#include "platform/system/system_operations.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

using test::readFile;
using test::writeFile;

class XdgAutoStartTest : public testing::Test {
  protected:
    test::TempFolder temp;
    std::filesystem::path autostartFolder = temp / "xdg" / "autostart"; // not there yet
    std::filesystem::path companion = temp / "program folder" / "tallowby_start";
    XdgAutoStart autostart{autostartFolder, companion};
    std::filesystem::path entry = autostartFolder / "tallowby.desktop";
};

TEST_F(XdgAutoStartTest, AddCreatesTheFolderAndAWorldReadableEntry) {
    const mode_t oldMask = ::umask(077);
    const bool added = autostart.AddAutoStart();
    ::umask(oldMask);

    ASSERT_TRUE(added);
    EXPECT_EQ(autostart.entryFile(), entry);
    EXPECT_EQ(readFile(entry), autostartDesktopEntry(companion));
    // Other users' sessions read the machine-wide entry even when root's umask is strict.
    EXPECT_EQ(std::filesystem::status(entry).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0644));
}

TEST_F(XdgAutoStartTest, AddKeepsAnyExistingEntry) {
    std::filesystem::create_directories(autostartFolder);
    writeFile(entry, "[Desktop Entry]\nExec=/somewhere/else\n");

    EXPECT_TRUE(autostart.AddAutoStart());
    EXPECT_TRUE(autostart.AddAutoStart());
    EXPECT_EQ(readFile(entry), "[Desktop Entry]\nExec=/somewhere/else\n");
}

TEST_F(XdgAutoStartTest, AddNeitherFollowsNorReplacesALinkInTheEntrysPlace) {
    std::filesystem::create_directories(autostartFolder);
    std::filesystem::create_symlink(temp / "elsewhere.desktop", entry);

    EXPECT_TRUE(autostart.AddAutoStart());
    EXPECT_TRUE(std::filesystem::is_symlink(entry));
    EXPECT_FALSE(std::filesystem::exists(temp / "elsewhere.desktop"));
}

TEST_F(XdgAutoStartTest, DelRemovesTheEntryAndAddWritesItAgain) {
    std::filesystem::create_directories(autostartFolder);
    writeFile(entry, "someone else's text");

    EXPECT_TRUE(autostart.DelAutoStart());
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_TRUE(autostart.DelAutoStart()); // nothing to remove is no failure
    EXPECT_TRUE(autostart.AddAutoStart());
    EXPECT_EQ(readFile(entry), autostartDesktopEntry(companion));
}

TEST_F(XdgAutoStartTest, FailuresAreReportedWithoutThrowing) {
    // A file where the autostart folder should be: nothing can be written under it.
    writeFile(temp / "xdg", "not a folder");
    EXPECT_FALSE(autostart.AddAutoStart());
    EXPECT_TRUE(autostart.DelAutoStart());

    // A folder in the entry's place cannot be removed as an entry.
    std::filesystem::remove(temp / "xdg");
    std::filesystem::create_directories(entry);
    EXPECT_FALSE(autostart.DelAutoStart());
    EXPECT_TRUE(std::filesystem::is_directory(entry));
}

TEST(XdgAutoStart, ARelativeProgramIsNamedInFull) {
    test::TempFolder temp;
    XdgAutoStart autostart(temp.path(), "relative/program/tallowby_start");
    ASSERT_TRUE(autostart.AddAutoStart());
    EXPECT_EQ(readFile(autostart.entryFile()),
              autostartDesktopEntry(std::filesystem::current_path() / "relative/program/tallowby_start"));
}

TEST(XdgAutoStart, AnInstalledProgramStartsItselfFromTheUsersOwnFolderMadePrivate) {
    test::TempFolder temp;
    std::filesystem::create_directories(temp / "home");
    const ProgramPlace place{ProgramKind::Installed, "/usr/bin/tallowby", temp / "home/.local/share/tallowby",
                             "/usr/share/tallowby"};
    const SystemPaths paths = SystemPaths::forPlace(place, {(temp / "home").string(), "", ""}, false);
    const auto autostart = makeAutoStart(paths, autostartProgramFor(place));

    ASSERT_TRUE(autostart->AddAutoStart());
    const std::filesystem::path entry = temp / "home/.config/autostart/tallowby.desktop";
    EXPECT_EQ(readFile(entry), autostartDesktopEntry("/usr/bin/tallowby"));
    for (const char* folder : {"home/.config", "home/.config/autostart"})
        EXPECT_EQ(std::filesystem::status(temp / folder).permissions(), std::filesystem::perms(0700))
            << folder;
    EXPECT_TRUE(autostart->DelAutoStart());
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST(XdgAutoStart, NoFolderAtAllWritesNoEntryAnywhere) {
    XdgAutoStart autostart({}, "/usr/bin/tallowby", true);
    EXPECT_FALSE(autostart.AddAutoStart());
    EXPECT_FALSE(std::filesystem::exists(autostart.entryFile()));
    EXPECT_TRUE(autostart.DelAutoStart());
}

} // namespace
} // namespace tallowby::platform
