#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/system/desktop_entry.h"
#include "platform/system/xdg_autostart.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

using test::readFile;
using test::writeFile;

class XdgAutoStartTest : public testing::Test {
  protected:
    test::TempFolder temp;
    std::filesystem::path autostartFolder = temp / "xdg" / "autostart"; // not there yet
    std::filesystem::path programFolder = temp / "program folder";
    XdgAutoStart autostart{autostartFolder, programFolder};
    std::filesystem::path entry = autostartFolder / "tallowby.desktop";
};

TEST_F(XdgAutoStartTest, AddCreatesTheFolderAndAWorldReadableEntry) {
    const mode_t oldMask = ::umask(077);
    const bool added = autostart.AddAutoStart();
    ::umask(oldMask);

    ASSERT_TRUE(added);
    EXPECT_EQ(autostart.entryFile(), entry);
    EXPECT_EQ(readFile(entry), autostartDesktopEntry(programFolder));
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
    EXPECT_EQ(readFile(entry), autostartDesktopEntry(programFolder));
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

TEST(XdgAutoStart, ARelativeProgramFolderIsNamedInFull) {
    test::TempFolder temp;
    XdgAutoStart autostart(temp.path(), "relative/program");
    ASSERT_TRUE(autostart.AddAutoStart());
    EXPECT_EQ(readFile(autostart.entryFile()),
              autostartDesktopEntry(std::filesystem::current_path() / "relative/program"));
}

} // namespace
} // namespace tallowby::platform
