#include "store/profile_repair.h"

#include <algorithm>
#include <array>
#include <set>

#include "os/files.h"
#include "store/load_report.h"
#include "store/profile_defaults.h"
#include "store/profile_files.h"
#include "store/rule_limits.h"
#include "store/stale_temporaries.h"

namespace tallowby::store {
namespace {

namespace fs = std::filesystem;

bool anyFileOf(const ProgramPaths& paths, const std::string& name) {
    return std::ranges::any_of(profileFiles(paths, name),
                               [](const fs::path& file) { return os::fileInfo(file).has_value(); });
}

std::optional<std::string> bytesOf(const ProgramPaths& paths, const fs::path& file) {
    try {
        if (auto read = os::readOwnFile(paths.folder(), file, kMaxRuleFileBytes))
            return std::move(read->bytes);
    } catch (const FileError&) {
    }
    return std::nullopt;
}

// The kind of profile file a name is (0 whole-day, 1 sessions, 2 reminders, as profileFiles orders
// them) and the profile it would belong to.
std::pair<std::size_t, std::string> kindAndOwner(const std::string& file) {
    if (file.ends_with(".db"))
        return {1, file.substr(0, file.size() - 3)};
    if (file.ends_with(".rem"))
        return {2, file.substr(0, file.size() - 4)};
    return {0, file};
}

// Whether the file holds nothing of the user's: the same file as a listed profile's of its kind, the
// same bytes, or what a new profile's file holds.
bool provablyLeftOver(const fs::path& file, std::size_t kind, const ProgramPaths& paths,
                      const Lines& listed) {
    const std::optional<os::FileInfo> info = os::fileInfo(file);
    if (!info || info->kind != os::FileKind::Regular)
        return false;
    const std::optional<std::string> bytes = bytesOf(paths, file);
    if (!bytes)
        return false;
    const std::array<Lines, 3> fresh{newWholeDayLines(), newSessionLines(), newReminderLines()};
    if (*bytes == joinLines(fresh[kind]))
        return true;
    for (const std::string& name : listed) {
        if (profileNameReadFailure(name))
            continue;
        const fs::path theirs = profileFiles(paths, name)[kind];
        const std::optional<os::FileInfo> other = os::fileInfo(theirs);
        if (other && other->stamp.device == info->stamp.device && other->stamp.inode == info->stamp.inode)
            return true;
        if (other && bytesOf(paths, theirs) == bytes)
            return true;
    }
    return false;
}

// Nothing stands in the place, or what does is of that kind, reached without a link.
bool emptyOrOfKind(const ProgramPaths& paths, const fs::path& place, os::FileKind kind) {
    try {
        const std::optional<os::FileInfo> info = os::ownFileInfo(paths.folder(), place);
        return !info || info->kind == kind;
    } catch (const FileError&) {
        return false;
    }
}

} // namespace

ProfileRepair repairProfiles(const ProgramPaths& paths, const Lines& profileLines, const Lines& configLines) {
    ProfileRepair repair;
    // A profile list or a profiles folder that is not a regular file or a real folder of the data
    // folder (a link out of it, a pipe) was not read: nothing is put right against it, and the
    // start-up report tells of it.
    if (!emptyOrOfKind(paths, paths.profileListFile(), os::FileKind::Regular) ||
        !emptyOrOfKind(paths, paths.profilesFolder(), os::FileKind::Folder))
        return repair;
    Lines listed = profileLines;
    const std::string current = profileForFiles(configLines);
    if (!current.empty() && std::ranges::find(listed, current) == listed.end() && anyFileOf(paths, current)) {
        listed.push_back(current);
        repair.profileLines = listed;
        repair.told.push_back(paths.configFile().string() + " names the profile \"" + current + "\", which " +
                              paths.profileListFile().string() +
                              " did not list (a change of profiles was cut short); it is listed again.");
    }
    std::set<fs::path> owned;
    for (const std::string& name : listed) {
        if (!profileNameReadFailure(name))
            for (const fs::path& file : profileFiles(paths, name))
                owned.insert(file);
    }
    for (const std::string& entry : os::listFolder(paths.profilesFolder())) {
        const fs::path file = paths.profilesFolder() / entry;
        // Temporary files have a clean-up of their own.
        if (owned.contains(file) || isTemporaryNameOf(entry, ""))
            continue;
        const auto [kind, owner] = kindAndOwner(entry);
        if (provablyLeftOver(file, kind, paths, listed) && os::removeFile(file) == 0) {
            repair.removed.push_back(file);
            continue;
        }
        repair.told.push_back(file.string() +
                              " belongs to no listed profile and is kept; a profile named \"" + owner +
                              "\" can be made once it is moved away.");
    }
    return repair;
}

} // namespace tallowby::store
