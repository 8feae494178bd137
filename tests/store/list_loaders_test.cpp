// Loading the lists from files, and the write-then-reload round trip of every file kind.
#include <gtest/gtest.h>

#include "store/list_loaders.h"
#include "store/profile_defaults.h"
#include "store/reminder_records.h"
#include "store/rule_limits.h"
#include "store/session_records.h"
#include "store/sound_list.h"
#include "store/whole_day_record.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::store {
namespace {

using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

using Loader = bool (*)(RuleLists&, const std::filesystem::path&, const std::filesystem::path&);

TEST(Loaders, MissingFileLeavesEveryListAsItWas) {
    TempFolder dir;
    RuleLists lists;
    lists.ConfigLines = lists.ProfileLines = lists.WholeDayLines = {"kept"};
    lists.SessionLines = Lines(13, "x");
    lists.SessionCount = 2;
    lists.ReminderLines = Lines(9, "x");
    const RuleLists before = lists;
    for (Loader load : {loadConfigList, loadProfileList, loadSessionList, loadWholeDayList, loadReminderList})
        EXPECT_FALSE(load(lists, dir / "absent", {}));
    EXPECT_EQ(lists.ConfigLines, before.ConfigLines);
    EXPECT_EQ(lists.ProfileLines, before.ProfileLines);
    EXPECT_EQ(lists.WholeDayLines, before.WholeDayLines);
    EXPECT_EQ(lists.SessionLines, before.SessionLines);
    EXPECT_EQ(lists.SessionCount, 2);
    EXPECT_EQ(lists.ReminderLines, before.ReminderLines);
    EXPECT_EQ(lists.ReminderCount, 1); // recomputed even so
}

TEST(Loaders, ReplaceTheListsAndRecomputeTheCounts) {
    TempFolder dir;
    RuleLists lists;
    lists.SessionLines = Lines(12, "old");
    lists.SessionCount = 2;
    lists.ReminderLines = Lines(13, "old");
    lists.ReminderCount = 2;
    writeFile(dir / "s.db", "09:00\r\n10:00\r\n1111111\r\n0\r\n\r\n\r\nstray");
    writeFile(dir / "s.rem", "0\r\n22:30\r\n1\r\n1\r\n1\r\n");
    writeFile(dir / "p.db", "Home\nWork\n");
    EXPECT_TRUE(loadSessionList(lists, dir / "s.db"));
    EXPECT_TRUE(loadReminderList(lists, dir / "s.rem"));
    EXPECT_TRUE(loadProfileList(lists, dir / "p.db"));
    EXPECT_EQ(lists.SessionLines.size(), 7u);
    EXPECT_EQ(lists.SessionCount, 1);
    EXPECT_EQ(lists.ReminderCount, 0);
    EXPECT_EQ(lists.ProfileLines, (Lines{"Home", "Work"}));
}

TEST(RoundTrip, EveryFileKindReadsBackAsWritten) {
    TempFolder dir;
    const ProgramPaths paths(dir.path());
    std::filesystem::create_directory(paths.profilesFolder());
    RuleLists lists;

    writeLines(paths.configFile(),
               {"Home", "1", "0", "1", "1", "1", "1", "10", "0", "1", "1", "2", "0", "1"});
    ASSERT_TRUE(loadConfigList(lists, paths.configFile()));
    EXPECT_EQ(lists.ConfigLines.size(), 14u);

    writeLines(paths.sessionFile("Home"), appendSession(newSessionLines(), "09:00", "12:00"));
    ASSERT_TRUE(loadSessionList(lists, paths.sessionFile("Home")));
    EXPECT_EQ(lists.SessionCount, 1);
    EXPECT_EQ(readFile(paths.sessionFile("Home")), "09:00\r\n12:00\r\n1111111\r\n0\r\n\r\n\r\n");

    WholeDayFields wholeDay = decodeWholeDay(newWholeDayLines());
    wholeDay.websites = {"video.example"};
    writeLines(paths.wholeDayFile("Home"), encodeWholeDay(wholeDay));
    ASSERT_TRUE(loadWholeDayList(lists, paths.wholeDayFile("Home")));
    EXPECT_EQ(decodeWholeDay(lists.WholeDayLines).websites, wholeDay.websites);

    writeLines(paths.reminderFile("Home"), addReminder(newReminderLines(), {"07:05", true, {}, "Tea"}));
    ASSERT_TRUE(loadReminderList(lists, paths.reminderFile("Home")));
    EXPECT_EQ(lists.ReminderCount, 1);
    EXPECT_EQ(reminderRecord(lists.ReminderLines, 0).subject, "Tea");
}

TEST(RoundTrip, ProfileWithAnEmptyNameHasNoWholeDayFile) {
    TempFolder dir;
    const ProgramPaths paths(dir.path());
    std::filesystem::create_directory(paths.profilesFolder());
    RuleLists lists;
    lists.WholeDayLines = {"kept"};
    EXPECT_FALSE(loadWholeDayList(lists, paths.wholeDayFile("")));
    EXPECT_EQ(lists.WholeDayLines, Lines{"kept"});
}

class SoundList : public testing::Test {
  protected:
    SoundList() : paths(dir.path()) {}
    TempFolder dir;
    ProgramPaths paths;
    RuleLists lists;
};

TEST_F(SoundList, MissingFileOrEntriesGiveTheDefaultSoundsInMemoryOnly) {
    EXPECT_FALSE(loadSound(lists, paths));
    EXPECT_EQ(lists.SoundLines,
              (Lines{paths.defaultReminderSound().string(), paths.defaultShutdownSound().string()}));
    writeFile(paths.soundFile(), "/nonexistent/deleted.wav\r\n");
    EXPECT_TRUE(loadSound(lists, paths));
    EXPECT_EQ(lists.SoundLines,
              (Lines{paths.defaultReminderSound().string(), paths.defaultShutdownSound().string()}));
    EXPECT_EQ(readFile(paths.soundFile()), "/nonexistent/deleted.wav\r\n");
    writeFile(paths.soundFile(), dir.path().string() + "\r\n\r\n");
    loadSound(lists, paths);
    EXPECT_EQ(lists.SoundLines[0], paths.defaultReminderSound().string()); // a folder is not a sound
}

TEST_F(SoundList, ASoundFileOverTheBoundGivesWayToTheDefaultAndIsTold) {
    const auto under = dir / "under.wav";
    const auto over = dir / "over.wav";
    writeFile(under, "RIFF");
    writeFile(over, "RIFF");
    // Sparse: no disk is used.
    std::filesystem::resize_file(under, kMaxSoundFileBytes);
    std::filesystem::resize_file(over, kMaxSoundFileBytes + 1);
    writeFile(paths.soundFile(), under.string() + "\r\n" + over.string() + "\r\n");
    loadSound(lists, paths);
    EXPECT_EQ(lists.SoundLines, (Lines{under.string(), paths.defaultShutdownSound().string()}));
    LoadReport report;
    checkSoundFiles(report, paths);
    ASSERT_EQ(report.problems().size(), 1u);
    EXPECT_EQ(report.problems()[0], paths.soundFile().string() + ": the shutdown sound " + over.string() +
                                        " is larger than 32 MiB and is not played; the default sound is.");
}

TEST_F(SoundList, SaveWritesExactlyTwoLinesAndKeepsExistingFiles) {
    const auto chime = dir / "chime.mp3";
    writeFile(chime, "ID3");
    writeFile(paths.soundFile(), "a\r\nb\r\nc\r\nd\r\n");
    loadSound(lists, paths);
    ASSERT_EQ(lists.SoundLines.size(), 4u);
    lists.SoundLines[1] = chime.string();
    saveSound(lists, paths);
    // "a" names no file, so the default took its place at the load before.
    EXPECT_EQ(readFile(paths.soundFile()),
              paths.defaultReminderSound().string() + "\r\n" + chime.string() + "\r\n");
    EXPECT_EQ(lists.SoundLines, (Lines{paths.defaultReminderSound().string(), chime.string()}));
}

TEST_F(SoundList, FailedSaveKeepsTheNewPathInMemory) {
    std::filesystem::create_directory(paths.soundFile());
    loadSound(lists, paths);
    lists.SoundLines[0] = "/chosen/by/user.wav";
    EXPECT_THROW(saveSound(lists, paths), FileError);
    EXPECT_EQ(lists.SoundLines[0], "/chosen/by/user.wav");
}

} // namespace
} // namespace tallowby::store
