#include "store/profile_files.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "os/files.h"
#include "store/config_lines.h"
#include "store/profile_defaults.h"
#include "store/rule_limits.h"

namespace tallowby::store {
namespace {

namespace fs = std::filesystem;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

// A step that failed; the message is for the user.
struct Refused {
    std::string message;
};

// action is what was being done to the file ("create", "read"), for the message.
[[noreturn]] void refuse(const char* action, const fs::path& path, const std::string& reason) {
    throw Refused{"Failed - could not " + std::string(action) + " " + path.string() + ": " + reason};
}

[[noreturn]] void refuse(const char* action, const fs::path& path, int error) {
    if (error == EEXIST)
        throw Refused{"Failed - profile file already exists: " + path.string()};
    refuse(action, path, std::generic_category().message(error));
}

[[noreturn]] void refuse(const char* action, const fs::path& path, const FileError& error) {
    if (error.code() != 0)
        refuse(action, path, error.code());
    refuse(action, path, std::string(error.what()));
}

// A name from profiles.db, which may have been edited by hand: one that could reach outside the
// profiles folder ("../config") or names the folder itself ("") has no files, so nothing outside a
// profile's own files is ever copied, moved or deleted for it.
bool hasFiles(std::string_view name) {
    return !name.empty() && !profileNameReadFailure(name);
}

std::optional<std::string> newNameFailure(const Lines& profileLines, const std::string& name) {
    if (auto failure = profileNameFailure(name))
        return failure;
    if (std::ranges::find(profileLines, name) != profileLines.end())
        return "Failed - profile name already exists.";
    return std::nullopt;
}

// Every target is checked before the first one is made, so a file that is in the way (left over from
// a profile removed by hand, say) never joins the new profile, even where the source file it would
// have replaced is missing.
void refuseExisting(const fs::path& root, const std::array<fs::path, 3>& targets) {
    for (const fs::path& target : targets) {
        if (os::ownFileInfo(root, target))
            refuse("create", target, EEXIST);
    }
}

// Why a file in a profile file's place is no file of a profile (a link, a named pipe: "it is a
// symbolic link, not a regular file"); nothing for a regular file or none. Such a file is left as
// it is: nothing is made from it, and it is not taken away.
std::optional<std::string> notRegular(const fs::path& root, const fs::path& file) {
    const std::optional<os::FileInfo> info = os::ownFileInfo(root, file);
    if (!info || info->kind == os::FileKind::Regular)
        return std::nullopt;
    try {
        os::refuseFileKind(file, info->kind);
    } catch (const FileError& error) {
        return error.what();
    }
}

// An exclusive creation keeps a file made in the meantime from being overwritten. The file is
// recorded as made as soon as it exists, so that undo takes back a file whose write failed.
void createFile(ProfileChange& change, const fs::path& path, std::string_view bytes) {
    os::UniqueFd fd;
    try {
        fd = os::createExclusive(path);
    } catch (const FileError& error) {
        refuse("create", path, error.code());
    }
    change.made.push_back(path);
    os::writeAll(fd.get(), bytes, path);
    try {
        os::syncAndClose(fd, path);
    } catch (const FileError& error) {
        refuse("create", path, error.code());
    }
}

// false when there is no source file, which is skipped. Only a regular file is copied, no larger than
// a rule file may be: a named pipe would never give its end, a link may lead to a device or to a file
// outside the profiles folder that has no place in a profile.
bool copyFile(ProfileChange& change, const fs::path& root, const fs::path& from, const fs::path& to) {
    std::optional<os::RegularFile> file;
    try {
        file = os::readOwnFile(root, from, kMaxRuleFileBytes);
    } catch (const FileError& error) {
        refuse("read", from, error);
    }
    if (!file)
        return false;
    createFile(change, to, file->bytes);
    return true;
}

// The file under a second name, as a hard link: until the lists are written the profile's files are
// there under both names, so whichever name a list file ends up with, that profile has its files.
// A link never replaces the new name. A file system without hard links gets a copy.
bool linkFile(ProfileChange& change, const fs::path& root, const fs::path& from, const fs::path& to) {
    if (const std::optional<std::string> why = notRegular(root, from))
        refuse("rename", from, *why);
    os::LinkResult result{};
    try {
        result = os::linkFile(from, to);
    } catch (const FileError& error) {
        refuse("create", to, error.code());
    }
    switch (result) {
    case os::LinkResult::Linked:
        change.made.push_back(to);
        return true;
    case os::LinkResult::NoSource:
        return false;
    case os::LinkResult::NotSupported:
        break;
    }
    return copyFile(change, root, from, to);
}

// Runs the steps that make files; when one fails, the files made so far are taken back and the
// change carries the message.
template <typename Steps> void makeFiles(ProfileChange& change, Steps&& steps) {
    try {
        steps();
        return;
    } catch (const Refused& refused) {
        change.failure = refused.message;
    } catch (const FileError& error) {
        change.failure = "Failed - could not write " + error.path().string() + ": " + error.what();
    }
    change.undo();
}

// A file to be deleted that is also a file of a profile still listed stays: the same name listed
// twice, or a hand-made "Home.db" whose whole-day file is the session file of "Home".
void keepListedFiles(ProfileChange& change, const ProgramPaths& paths) {
    for (const std::string& listed : change.profileLines) {
        if (!hasFiles(listed))
            continue;
        for (const fs::path& file : profileFiles(paths, listed))
            std::erase(change.leftOver, file);
    }
}

Lines appended(const Lines& lines, const std::string& name) {
    Lines result = lines;
    result.push_back(name);
    return result;
}

} // namespace

std::string trimProfileName(std::string_view typed) {
    const auto first = std::ranges::find_if_not(typed, isBlank);
    const auto last = std::find_if_not(typed.rbegin(), typed.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

namespace {

// The checks that keep a name a plain file name inside the profiles folder.
std::optional<std::string> plainNameFailure(std::string_view name) {
    if (std::ranges::any_of(name, isControl))
        return "Failed - profile name can not contain control characters or line breaks.";
    if (name.find_first_of("/\\") != std::string_view::npos)
        return "Failed - profile name can not contain \"/\" or \"\\\".";
    if (name == "." || name == "..")
        return "Failed - profile name can not be \".\" or \"..\".";
    return std::nullopt;
}

} // namespace

std::optional<std::string> profileNameReadFailure(std::string_view name) {
    if (auto failure = plainNameFailure(name))
        return failure;
    // Longer than a file name can be: it names no file, and would only be laid out at length.
    if (name.size() > kLongestProfileName)
        return "Failed - profile name is too long.";
    return std::nullopt;
}

std::optional<std::string> profileNameFailure(std::string_view name) {
    if (name.empty())
        return "Failed - Please type profile name.";
    if (auto failure = plainNameFailure(name))
        return failure;
    if (name.size() > kLongestProfileName)
        return "Failed - profile name is too long.";
    // "Home.db" would be the session file of "Home", "Home.rem" its reminder file.
    if (name.ends_with(".db") || name.ends_with(".rem"))
        return "Failed - profile name can not end with \".db\" or \".rem\".";
    return std::nullopt;
}

std::array<fs::path, 3> profileFiles(const ProgramPaths& paths, const std::string& name) {
    return {paths.wholeDayFile(name), paths.sessionFile(name), paths.reminderFile(name)};
}

void ProfileChange::undo() {
    for (auto file = made.rbegin(); file != made.rend(); ++file)
        os::removeFile(*file);
    made.clear();
    leftOver.clear();
    kept.clear();
}

std::optional<std::string> ProfileChange::finish() {
    std::optional<std::string> failure;
    for (const fs::path& file : leftOver) {
        if (const int error = os::removeFile(file); error != 0 && !failure)
            failure = "Failed - " + file.string() + ": " + std::generic_category().message(error);
    }
    for (const std::string& note : kept)
        failure = failure ? *failure + "\n" + note : note;
    made.clear();
    leftOver.clear();
    kept.clear();
    return failure;
}

ProfileChange addProfile(const ProgramPaths& paths, const Lines& profileLines, std::string_view typed) {
    const std::string name = trimProfileName(typed);
    ProfileChange change;
    if ((change.failure = newNameFailure(profileLines, name)))
        return change;
    const auto targets = profileFiles(paths, name);
    const std::array<Lines, 3> contents{newWholeDayLines(), newSessionLines(), newReminderLines()};
    makeFiles(change, [&] {
        refuseExisting(paths.folder(), targets);
        for (std::size_t i = 0; i < targets.size(); ++i)
            createFile(change, targets[i], joinLines(contents[i]));
    });
    if (!change.failure)
        change.profileLines = appended(profileLines, name);
    return change;
}

ProfileChange copyProfile(const ProgramPaths& paths, const Lines& profileLines, std::size_t row) {
    const std::string& source = profileLines.at(row);
    const std::string name = source + "_copy";
    ProfileChange change;
    if ((change.failure = newNameFailure(profileLines, name)))
        return change;
    const auto sources = profileFiles(paths, source);
    const auto targets = profileFiles(paths, name);
    makeFiles(change, [&] {
        refuseExisting(paths.folder(), targets);
        if (hasFiles(source))
            for (std::size_t i = 0; i < targets.size(); ++i)
                copyFile(change, paths.folder(), sources[i], targets[i]);
    });
    if (!change.failure)
        change.profileLines = appended(profileLines, name);
    return change;
}

ProfileChange renameProfile(const ProgramPaths& paths, const Lines& profileLines, const Lines& configLines,
                            std::size_t row, std::string_view typed) {
    const std::string& old = profileLines.at(row);
    const std::string name = trimProfileName(typed);
    ProfileChange change;
    if ((change.failure = newNameFailure(profileLines, name)))
        return change;
    // A name listed twice (by a hand edit) keeps its files for the other row, which must not share them
    // with this one through a link.
    const bool listedElsewhere = std::ranges::count(profileLines, old) > 1;
    const auto sources = profileFiles(paths, old);
    const auto targets = profileFiles(paths, name);
    makeFiles(change, [&] {
        refuseExisting(paths.folder(), targets);
        if (!hasFiles(old))
            return;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (listedElsewhere ? copyFile(change, paths.folder(), sources[i], targets[i])
                                : linkFile(change, paths.folder(), sources[i], targets[i]))
                change.leftOver.push_back(sources[i]);
        }
    });
    if (change.failure)
        return change;
    change.profileLines = profileLines;
    change.profileLines[row] = name;
    if (configValue(configLines, ConfigLine::Profile) == old) {
        change.configLines = configLines;
        setConfigValue(*change.configLines, ConfigLine::Profile, name);
    }
    keepListedFiles(change, paths);
    return change;
}

ProfileChange removeProfile(const ProgramPaths& paths, const Lines& profileLines, const Lines& configLines,
                            std::size_t row) {
    const std::string& name = profileLines.at(row);
    ProfileChange change;
    if (name == configValue(configLines, ConfigLine::Profile)) {
        change.failure = "Failed - Can not remove default profile.";
        return change;
    }
    change.profileLines = profileLines;
    change.profileLines.erase(change.profileLines.begin() + static_cast<std::ptrdiff_t>(row));
    if (hasFiles(name)) {
        for (const fs::path& file : profileFiles(paths, name)) {
            std::optional<std::string> why;
            try {
                why = notRegular(paths.folder(), file);
            } catch (const FileError& error) {
                why = error.path().string() + ": " + error.what();
            }
            if (why)
                change.kept.push_back(file.string() + " is left as it is: " + *why + ".");
            else
                change.leftOver.push_back(file);
        }
    }
    keepListedFiles(change, paths);
    return change;
}

} // namespace tallowby::store
