#pragma once
// The files of a profile, made, copied, given a new name and deleted together. An operation never
// replaces a file that exists, and takes back what it made when a later step fails. The list files
// ("profiles.db", "config.db") are written by the caller, through the window that shows them; the
// operation hands over their new lines and keeps what it did undoable until they are written.
#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/program_paths.h"
#include "store/rule_limits.h"
#include "store/text_file.h"

namespace tallowby::store {

// What the user typed without leading and trailing blanks (spaces and tabs).
std::string trimProfileName(std::string_view typed);

// Why a trimmed name cannot be a new profile's name ("Failed - ..."), or nothing when it can. Only
// the name itself is looked at, not the list or the folder.
std::optional<std::string> profileNameFailure(std::string_view name);

// Why a name read from a file cannot name profile files: it would reach outside the profiles folder
// (a separator, ".", ".."), or could not be a file name at all (a NUL or other control character).
// Names the manager would no longer make (".db") are still read; one longer than a file name can be
// is not.
std::optional<std::string> profileNameReadFailure(std::string_view name);

// The whole-day, session and reminder files, in the order in which they are made.
std::array<std::filesystem::path, 3> profileFiles(const ProgramPaths& paths, const std::string& name);

// What an operation did to the profiles folder and what the list files should hold afterwards.
// When failure is set nothing was changed. Otherwise the caller writes configLines (if set) and
// profileLines, then calls finish(); when a write fails it calls undo() instead.
struct ProfileChange {
    std::optional<std::string> failure;
    Lines profileLines;
    std::optional<Lines> configLines;
    // Files the operation made: taken back by undo().
    std::vector<std::filesystem::path> made;
    // Files no longer anyone's once the lists are written: deleted by finish().
    std::vector<std::filesystem::path> leftOver;
    // What stands in a removed profile's file places and is no regular file (a link, a pipe): left as
    // it is, each named in a sentence by finish().
    std::vector<std::string> kept;

    void undo();
    // The message for a left-over file that could not be deleted (the others are deleted anyway),
    // followed by the sentences of the files kept.
    std::optional<std::string> finish();
};

// typed: as the user typed it, blanks and all. The new profile is appended to the list; its files
// get the contents of a new profile.
ProfileChange addProfile(const ProgramPaths& paths, const Lines& profileLines, std::string_view typed);

// A copy of the profile in the row, named after it with "_copy", appended to the list. Only the
// files the profile has are copied.
ProfileChange copyProfile(const ProgramPaths& paths, const Lines& profileLines, std::size_t row);

// The profile in the row under a new name, in the same row; config.db follows when it was the
// default profile. The files get their new names at once and lose the old ones in finish().
ProfileChange renameProfile(const ProgramPaths& paths, const Lines& profileLines, const Lines& configLines,
                            std::size_t row, std::string_view typed);

// The list without the row. Nothing changes until finish(), which deletes the files the profile
// has; the default profile is refused.
ProfileChange removeProfile(const ProgramPaths& paths, const Lines& profileLines, const Lines& configLines,
                            std::size_t row);

} // namespace tallowby::store
