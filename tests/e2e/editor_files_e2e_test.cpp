// What the editors leave in the profile's files, through the real windows: a profile named like a
// temporary file keeps its files over a restart, a reminder added by hand is listed and kept by the
// reminders editor, and a process picker left open across the end of a pause saves nothing.
#include <fcntl.h>
#include <sys/stat.h>

#include "accessible_desktop.h"
#include "rule_files.h"
#include "support/wait_until.h"

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::waitUntil;

using EditorFilesTest = AccessibleDesktopTest;

TEST_F(EditorFilesTest, AProfileNamedLikeATemporaryFileKeepsItsFilesOverARestart) {
    const std::string name = ".study.Summer";
    sandbox.configure({},
                      {.name = name, .wholeDay = {.weekDays = kMondayOnly, .websites = "social.example;"}});
    // Written long before the moved clock's day, as a profile's files are.
    for (const char* ending : {"", ".db"}) {
        const timespec old[2] = {{0, UTIME_OMIT}, {1'700'000'000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (sandbox.folder() / "profiles" / (name + ending)).c_str(), old, 0),
                  0);
    }
    for (int start = 0; start < 2; ++start) {
        if (start > 0)
            killProgram();
        startAccessible(kMonday10);
        ASSERT_TRUE(drive({"holds:Tallowby/Profile/label#1=" + name}));
        expectHosts(hostsWithBlock({"social.example"}));
    }
    EXPECT_EQ(profileFile(name), "0100000\r\n0\r\n\r\nsocial.example;\r\n");
}

TEST_F(EditorFilesTest, AReminderAddedByHandIsListedAndKeptByTheEditor) {
    sandbox.configure({}, {.reminders = {"0000000", "22:30", "1", "1", "1"}});
    startAccessible(kMonday10);
    const std::vector<std::string> byHand{"0000000", "22:30", "1",       "1",        "1",
                                          "11:00",   "1",     "1111111", "Hand made"};
    writeCrLfLines(sandbox.folder() / "profiles" / "Work.rem", byHand);
    const std::string editor = "Reminders Setup";
    ASSERT_TRUE(drive({
        "click:Tallowby/Stop",
        "click:Tallowby/Reminders",
        "key:Down Return",
        "click:" + editor + "/11:00", // listed
        "choose:" + editor + "/Add Reminder/combo box#1=12",
        "type:" + editor + "/New subject=Lunch",
        "click:" + editor + "/Add",
        "click:" + editor + "/12:00",
    })) << "the driver could not carry out every step";
    EXPECT_EQ(profileFile("Work.rem"), "0000000\r\n22:30\r\n1\r\n1\r\n1\r\n11:00\r\n1\r\n1111111\r\nHand "
                                       "made\r\n12:00\r\n1\r\n1111111\r\nLunch\r\n");
}

TEST_F(EditorFilesTest, APickerLeftOpenAcrossTheEndOfAPauseSavesNothing) {
    sandbox.configure({},
                      {.sessions = {{"09:00", "12:00", "1111111", kBlockMode, "game;", "games.example;"}}});
    startAccessible(kMonday10);
    const std::string picker = "Add Process - Session events";
    ASSERT_TRUE(drive({
        "click:Tallowby/Pause",
        "click:Pause/combo box#1",
        "key:Home Return", // one minute
        "click:Pause/Ok",
        "closed:Pause",
        "click:Tallowby/Session Events/Session List/09:00-12:00",
        "click:Tallowby/Session Events/Process List/Add",
        "click:" + picker + "/Process Selected/game",
        "click:" + picker + "/Remove process",
    })) << "the driver could not carry out every step";
    // A minute later the pause ends and the rules run again, the picker still open.
    EXPECT_TRUE(waitUntil([&] { return sandbox.hosts() == hostsWithBlock({"games.example"}); }, 75s));
    ASSERT_TRUE(drive({"click:" + picker + "/Cancel", "closed:" + picker}));
    EXPECT_EQ(profileFile("Work.db"), "09:00\r\n12:00\r\n1111111\r\n0\r\ngame;\r\ngames.example;\r\n");
}

} // namespace
} // namespace tallowby::e2e
