// The table of rule files: each file's place and loader, as the windows and the tests' rule book use
// them.
#include <gtest/gtest.h>

#include "store/rule_files.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::store {
namespace {

TEST(RuleFiles, EachFileHasItsPlaceItsLoaderAndItsWording) {
    testsupport::TempFolder temp;
    const ProgramPaths paths(temp.path());
    std::filesystem::create_directory(paths.profilesFolder());
    const struct {
        RuleFile file;
        std::filesystem::path path;
        const Lines RuleLists::*lines;
    } cases[] = {
        {RuleFile::Config, paths.configFile(), &RuleLists::ConfigLines},
        {RuleFile::Profiles, paths.profileListFile(), &RuleLists::ProfileLines},
        {RuleFile::Sound, paths.soundFile(), &RuleLists::SoundLines},
        {RuleFile::Sessions, paths.sessionFile("Work"), &RuleLists::SessionLines},
        {RuleFile::WholeDay, paths.wholeDayFile("Work"), &RuleLists::WholeDayLines},
        {RuleFile::Reminders, paths.reminderFile("Work"), &RuleLists::ReminderLines},
    };
    for (const auto& c : cases) {
        const RuleFileKind& kind = ruleFileKind(c.file);
        EXPECT_EQ(ruleFilePath(c.file, paths, "Work"), c.path);
        EXPECT_EQ(kind.ofProfile, c.path.parent_path() == paths.profilesFolder()) << c.path;
        EXPECT_FALSE(kind.what.empty());

        RuleLists lists;
        EXPECT_FALSE(loadRuleFile(c.file, lists, paths, "Work")) << c.path;
        // A line that names an existing file, as the sound list keeps only those.
        testsupport::writeFile(c.path, c.path.string() + "\r\n");
        ASSERT_TRUE(loadRuleFile(c.file, lists, paths, "Work")) << c.path;
        EXPECT_EQ((lists.*c.lines).at(0), c.path.string()) << c.path;
    }
}

} // namespace
} // namespace tallowby::store

namespace tallowby::store {
namespace {

TEST(RuleFiles, ALoadRemembersTheStampThatTellsAHandEditLater) {
    testsupport::TempFolder temp;
    const ProgramPaths paths(temp.path());
    RuleLists lists;
    EXPECT_FALSE(changedSinceRead(RuleFile::Config, lists, paths, "")) << "no file then, none now";
    testsupport::writeFile(paths.configFile(), "Work\r\n");
    EXPECT_TRUE(changedSinceRead(RuleFile::Config, lists, paths, ""));
    ASSERT_TRUE(loadRuleFile(RuleFile::Config, lists, paths, ""));
    EXPECT_FALSE(changedSinceRead(RuleFile::Config, lists, paths, ""));
    EXPECT_EQ(ruleFileLines(lists, RuleFile::Config), Lines{"Work"});
    testsupport::writeFile(paths.configFile(), "Home\r\n1\r\n");
    EXPECT_TRUE(changedSinceRead(RuleFile::Config, lists, paths, ""));
}

// A change made from the list as read, made again on the file as it is now.
TEST(RuleFiles, AChangeIsMadeOnWhatTheFileHoldsNow) {
    const struct {
        const char* what;
        RuleFile file;
        Lines read, wanted, now, written;
    } cases[] = {
        {"nothing changed by hand", RuleFile::Config, {"a", "b"}, {"a", "c"}, {"a", "b"}, {"a", "c"}},
        {"a line changed, another by hand",
         RuleFile::Config,
         {"a", "b", "c"},
         {"a", "B", "c"},
         {"x", "b", "c", "d"},
         {"x", "B", "c", "d"}},
        {"lines added at the end",
         RuleFile::Reminders,
         {"a"},
         {"a", "n1", "n2"},
         {"x", "y"},
         {"x", "y", "n1", "n2"}},
        {"the last line taken", RuleFile::Reminders, {"a", "b"}, {"a"}, {"x", "b", "z"}, {"x", "z"}},
        {"a profile added",
         RuleFile::Profiles,
         {"Home", "Work"},
         {"Home", "Work", "New"},
         {"Other", "Home", "Work"},
         {"Other", "Home", "Work", "New"}},
        {"a profile renamed in its row",
         RuleFile::Profiles,
         {"Home", "Work"},
         {"Home", "Job"},
         {"Other", "Home", "Work"},
         {"Other", "Home", "Job"}},
        {"a profile removed",
         RuleFile::Profiles,
         {"Home", "Work"},
         {"Home"},
         {"Work", "Home", "Other"},
         {"Home", "Other"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reapplyChange(c.file, c.read, c.wanted, c.now), c.written) << c.what;
}

} // namespace
} // namespace tallowby::store
