#include "store/rule_files.h"

#include <array>

#include "store/list_loaders.h"
#include "store/sound_list.h"

namespace tallowby::store {
namespace {

// In the order of the enum.
const std::array<RuleFileKind, 6> kRuleFiles{{
    {false, [](const ProgramPaths& p, const std::string&) { return p.configFile(); },
     [](RuleLists& l, const ProgramPaths&, const std::filesystem::path& f) { return loadConfigList(l, f); },
     "the settings"},
    {false, [](const ProgramPaths& p, const std::string&) { return p.profileListFile(); },
     [](RuleLists& l, const ProgramPaths&, const std::filesystem::path& f) { return loadProfileList(l, f); },
     "the profile list"},
    {false, [](const ProgramPaths& p, const std::string&) { return p.soundFile(); },
     [](RuleLists& l, const ProgramPaths& p, const std::filesystem::path&) { return loadSound(l, p); },
     "the alert sound choice"},
    {true, [](const ProgramPaths& p, const std::string& profile) { return p.sessionFile(profile); },
     [](RuleLists& l, const ProgramPaths&, const std::filesystem::path& f) { return loadSessionList(l, f); },
     "the sessions"},
    {true, [](const ProgramPaths& p, const std::string& profile) { return p.wholeDayFile(profile); },
     [](RuleLists& l, const ProgramPaths&, const std::filesystem::path& f) { return loadWholeDayList(l, f); },
     "the whole-day rules"},
    {true, [](const ProgramPaths& p, const std::string& profile) { return p.reminderFile(profile); },
     [](RuleLists& l, const ProgramPaths&, const std::filesystem::path& f) { return loadReminderList(l, f); },
     "the reminders and shutdown settings"},
}};

} // namespace

const RuleFileKind& ruleFileKind(RuleFile file) {
    return kRuleFiles.at(static_cast<std::size_t>(file));
}

std::filesystem::path ruleFilePath(RuleFile file, const ProgramPaths& paths, const std::string& profile) {
    return ruleFileKind(file).path(paths, profile);
}

bool loadRuleFile(RuleFile file, RuleLists& lists, const ProgramPaths& paths, const std::string& profile) {
    return ruleFileKind(file).load(lists, paths, ruleFilePath(file, paths, profile));
}

} // namespace tallowby::store
