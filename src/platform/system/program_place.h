#pragma once
// Where a program keeps its data, by the kind of program it is.
//
// A folder build keeps everything in the folder of its executable (a build's program folder, or a
// folder the user unpacked and may write): recognised by its data files beside the executable.
// An installed program (/usr/bin/tallowby, or a package unpacked anywhere with the same layout) has
// its installation's files in <bin>/../share/tallowby: the default rules and options, of which the
// user gets copies in the user's data folder ($XDG_DATA_HOME/tallowby), and the help page, sounds
// and icons, which are read from there.
#include <filesystem>

#include "platform/user_folders.h"

namespace tallowby::platform {

enum class ProgramKind { Folder, Installed };

struct ProgramPlace {
    ProgramKind kind = ProgramKind::Folder;
    std::filesystem::path executable;
    // Where every data file is named from (store::ProgramPaths' folder). Empty for an installed
    // program whose user has no home to keep it in.
    std::filesystem::path dataFolder;
    // The installation's files (store::ProgramPaths' installation folder); empty for a folder build.
    std::filesystem::path defaultsFolder;

    std::filesystem::path executableFolder() const { return executable.parent_path(); }
};

// Whether the folder holds a program folder's data files (config.db, profiles.db or profiles/).
bool holdsDataFiles(const std::filesystem::path& folder);

// The installation's default files for an executable in this folder: <folder>/../share/tallowby,
// following the installation's own layout.
std::filesystem::path installedDefaultsFolder(const std::filesystem::path& executableFolder);

// Decides the kind and the folders of the program run from this executable (an absolute path).
// Data files beside the executable make a folder build whatever else is there; so does an
// executable with neither data files nor an installation around it.
ProgramPlace locateProgram(const std::filesystem::path& executable, const UserFolders& user);

// The privileged hosts helper the program hands a refused hosts write to: the installation's own
// for an installed program, "tallowby-hosts" beside a folder build's executable where there is one;
// empty when there is none.
std::filesystem::path hostsHelperFor(const ProgramPlace& place);

// What a log-on starts: an installed program itself, a folder build's companion beside it.
std::filesystem::path autostartProgramFor(const ProgramPlace& place);

} // namespace tallowby::platform
