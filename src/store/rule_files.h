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

// The list the file is loaded into.
const Lines& ruleFileLines(const RuleLists& lists, RuleFile file);

// Whether what stands in the file's place now is not what its list was last read from: a hand edit,
// a file put there or taken away, anything that could not be looked at.
bool changedSinceRead(RuleFile file, const RuleLists& lists, const ProgramPaths& paths,
                      const std::string& profile);

// The lines a save writes when the file changed since its list was read: the lines the caller
// made from the list as read (wanted) hold its change, which is made on what the file holds now.
// For the profile list, names the change added, removed or renamed; for every other file, the lines
// it changed, added at the end or took from the end, by their place.
Lines reapplyChange(RuleFile file, const Lines& read, const Lines& wanted, const Lines& now);

} // namespace tallowby::store
