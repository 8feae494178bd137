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
