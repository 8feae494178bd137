#pragma once
// The rule files a window can save and reload, once: for each, where it is, how it is loaded into
// the lists and what it holds in words. The main window, its panels and dialogs and the tests' rule
// book all go through this table.
#include <filesystem>
#include <string>
#include <string_view>

#include "store/program_paths.h"
#include "store/rule_lists.h"

namespace tallowby::store {

// The program's files ("config.db", "profiles.db", "sound.db") and the current profile's files
// (sessions, whole day, reminders).
enum class RuleFile { Config, Profiles, Sound, Sessions, WholeDay, Reminders };

struct RuleFileKind {
    // One of a profile's files, named after the profile.
    bool ofProfile;
    std::filesystem::path (*path)(const ProgramPaths& paths, const std::string& profile);
    // Replaces the file's list when a file is there; whether one was read. Throws FileError.
    bool (*load)(RuleLists& lists, const ProgramPaths& paths, const std::filesystem::path& path);
    // What it holds, for messages: "Could not save <what> to ...".
    std::string_view what;
};

const RuleFileKind& ruleFileKind(RuleFile file);

// profile: the current profile, for a profile's file.
std::filesystem::path ruleFilePath(RuleFile file, const ProgramPaths& paths, const std::string& profile);

// Loads the file from its place; whether a file was there.
bool loadRuleFile(RuleFile file, RuleLists& lists, const ProgramPaths& paths, const std::string& profile);

} // namespace tallowby::store
