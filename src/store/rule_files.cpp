#include "store/rule_files.h"

#include <algorithm>
#include <array>

#include "store/list_loaders.h"
#include "store/sound_list.h"

namespace tallowby::store {
namespace {

// In the order of the enum.
const std::array<RuleFileKind, 6> kRuleFiles{{
    {false, [](const ProgramPaths& p, const std::string&) { return p.configFile(); },
     [](RuleLists& l, const ProgramPaths& p, const std::filesystem::path& f) {
         return loadConfigList(l, f, p.folder());
     },
     "the settings"},
    {false, [](const ProgramPaths& p, const std::string&) { return p.profileListFile(); },
     [](RuleLists& l, const ProgramPaths& p, const std::filesystem::path& f) {
         return loadProfileList(l, f, p.folder());
     },
     "the profile list"},
    {false, [](const ProgramPaths& p, const std::string&) { return p.soundFile(); },
     [](RuleLists& l, const ProgramPaths& p, const std::filesystem::path&) { return loadSound(l, p); },
     "the alert sound choice"},
    {true, [](const ProgramPaths& p, const std::string& profile) { return p.sessionFile(profile); },
     [](RuleLists& l, const ProgramPaths& p, const std::filesystem::path& f) {
         return loadSessionList(l, f, p.folder());
     },
     "the sessions"},
    {true, [](const ProgramPaths& p, const std::string& profile) { return p.wholeDayFile(profile); },
     [](RuleLists& l, const ProgramPaths& p, const std::filesystem::path& f) {
         return loadWholeDayList(l, f, p.folder());
     },
     "the whole-day rules"},
    {true, [](const ProgramPaths& p, const std::string& profile) { return p.reminderFile(profile); },
     [](RuleLists& l, const ProgramPaths& p, const std::filesystem::path& f) {
         return loadReminderList(l, f, p.folder());
     },
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

namespace tallowby::store {
namespace {

// The names the change added, removed or renamed (a name that took another's row), made on the list
// there now.
Lines reapplyNames(const Lines& read, const Lines& wanted, const Lines& now) {
    const auto missingFrom = [](const Lines& names, const Lines& other) {
        Lines missing;
        Lines rest = other;
        for (const std::string& name : names) {
            if (const auto found = std::ranges::find(rest, name); found != rest.end())
                rest.erase(found);
            else
                missing.push_back(name);
        }
        return missing;
    };
    const Lines removed = missingFrom(read, wanted);
    const Lines added = missingFrom(wanted, read);
    Lines result = now;
    if (removed.size() == 1 && added.size() == 1) {
        if (const auto renamed = std::ranges::find(result, removed[0]); renamed != result.end()) {
            *renamed = added[0];
            return result;
        }
    }
    for (const std::string& name : removed) {
        if (const auto found = std::ranges::find(result, name); found != result.end())
            result.erase(found);
    }
    for (const std::string& name : added) {
        if (std::ranges::find(result, name) == result.end())
            result.push_back(name);
    }
    return result;
}

Lines reapplyPlaces(const Lines& read, const Lines& wanted, const Lines& now) {
    Lines result = now;
    const std::size_t common = std::min(read.size(), wanted.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (wanted[i] == read[i])
            continue;
        if (result.size() <= i)
            result.resize(i + 1);
        result[i] = wanted[i];
    }
    if (wanted.size() > read.size()) {
        result.insert(result.end(), wanted.begin() + static_cast<std::ptrdiff_t>(read.size()), wanted.end());
    } else if (wanted.size() < read.size() && result.size() > wanted.size()) {
        const std::size_t end = std::min(read.size(), result.size());
        result.erase(result.begin() + static_cast<std::ptrdiff_t>(wanted.size()),
                     result.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return result;
}

} // namespace

const Lines& ruleFileLines(const RuleLists& lists, RuleFile file) {
    switch (file) {
    case RuleFile::Config:
        return lists.ConfigLines;
    case RuleFile::Profiles:
        return lists.ProfileLines;
    case RuleFile::Sound:
        return lists.SoundLines;
    case RuleFile::Sessions:
        return lists.SessionLines;
    case RuleFile::WholeDay:
        return lists.WholeDayLines;
    case RuleFile::Reminders:
        return lists.ReminderLines;
    }
    return lists.ConfigLines;
}

bool changedSinceRead(RuleFile file, const RuleLists& lists, const ProgramPaths& paths,
                      const std::string& profile) {
    std::optional<os::FileStamp> now;
    try {
        if (const auto info = os::ownFileInfo(paths.folder(), ruleFilePath(file, paths, profile)))
            now = info->stamp;
    } catch (const FileError&) {
        return true;
    }
    return now != lists.readStamp(file);
}

Lines reapplyChange(RuleFile file, const Lines& read, const Lines& wanted, const Lines& now) {
    if (now == read)
        return wanted;
    return file == RuleFile::Profiles ? reapplyNames(read, wanted, now) : reapplyPlaces(read, wanted, now);
}

} // namespace tallowby::store
