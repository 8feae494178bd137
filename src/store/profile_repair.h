#pragma once
// What a profile operation killed half-way leaves, put right at start. The operations write the
// profile files first and the two list files after, so a kill can leave config.db naming a profile
// that profiles.db does not list yet, or files of a profile that no list names (a rename's second
// names, a copy, an added profile) which would refuse that name for good.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/program_paths.h"
#include "store/text_file.h"

namespace tallowby::store {

struct ProfileRepair {
    // profiles.db as it should be, when it must be written.
    std::optional<Lines> profileLines;
    // The profile files that were removed: copies of a listed profile's file of the same kind (or
    // the same file under a second name), or a new profile's untouched files.
    std::vector<std::filesystem::path> removed;
    // What was put right, and the files that belong to no listed profile and were kept, each one
    // sentence for the start-up report.
    std::vector<std::string> told;
};

// Looks at the lists as read and the profiles folder. Removes leftovers it can prove to hold nothing
// of the user's; keeps the rest and tells of them. Writes no list file: the caller does.
ProfileRepair repairProfiles(const ProgramPaths& paths, const Lines& profileLines, const Lines& configLines);

} // namespace tallowby::store
