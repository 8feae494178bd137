#pragma once
// Where a program keeps its data, by the kind of program it is.
//
// A folder build keeps everything in the folder of its executable (a build's program folder, or a
// folder the user unpacked and may write): recognised by its data files beside the executable.
// An installed program (/usr/bin/tallowby, or a package unpacked anywhere with the same layout) has
// its installation's files in <bin>/../share/tallowby: the default rules and options, of which the
// user gets copies in the user's data folder ($XDG_DATA_HOME/tallowby), and the help page, sounds
// and icons, which are read from there. On Windows a program in a Program Files folder is the
// installed one, whatever lies beside it (an ordinary user may not write there): its own folder
// holds the installation's files and the user's copies go to %APPDATA%\Tallowby.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/user_folders.h"

namespace tallowby::platform {

enum class ProgramKind { Folder, Installed };

#ifdef _WIN32
// The companion a log-on starts, beside the program, and the program it starts.
inline constexpr const char* kCompanionName = "Tallowby_Start.exe";
inline constexpr const char* kProgramName = "tallowby.exe";
// An installed program's folder in the user's data folder.
inline constexpr const char* kDataFolderName = "Tallowby";
// The Run key starts the companion for an installed program too.
inline constexpr bool kInstalledStartsItself = false;
#else
inline constexpr const char* kCompanionName = "tallowby_start";
inline constexpr const char* kProgramName = "tallowby";
inline constexpr const char* kDataFolderName = "tallowby";
// The autostart entry of an installed program names the program, and skips it once it is removed.
inline constexpr bool kInstalledStartsItself = true;
#endif

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

// Whether the folder lies in one of the folders (compared element by element, ignoring the case of
// ASCII letters as Windows does).
bool isInside(const std::filesystem::path& folder, const std::vector<std::string>& folders);

// Decides the kind and the folders of the program run from this executable (an absolute path).
// An executable in one of the user's program-files folders is installed. Otherwise data files beside
// the executable make a folder build whatever else is there; so does an executable with neither
// data files nor an installation around it.
ProgramPlace locateProgram(const std::filesystem::path& executable, const UserFolders& user);

// The privileged hosts helper the program hands a refused hosts write to: the installation's own
// for an installed program, "tallowby-hosts" beside a folder build's executable where there is one;
// empty when there is none.
std::filesystem::path hostsHelperFor(const ProgramPlace& place);

// What a log-on starts: the companion beside the program, or on Linux an installed program itself.
std::filesystem::path autostartProgramFor(const ProgramPlace& place);

} // namespace tallowby::platform
