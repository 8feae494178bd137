#include "platform/system/program_place.h"

#include <system_error>

#include "platform/linux/desktop_entry.h"
#include "store/program_paths.h"

#ifndef TALLOWBY_BIN_TO_DEFAULTS
#error "TALLOWBY_BIN_TO_DEFAULTS: the installed default files, relative to the installed executable's folder"
#endif
#ifndef TALLOWBY_BIN_TO_HOSTS_HELPER
#error                                                                                                       \
    "TALLOWBY_BIN_TO_HOSTS_HELPER: the installed hosts helper, relative to the installed executable's folder"
#endif

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderBuildHelperName = "tallowby-hosts";

bool isThere(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

} // namespace

bool holdsDataFiles(const fs::path& folder) {
    const store::ProgramPaths paths(folder);
    return isThere(paths.configFile()) || isThere(paths.profileListFile()) ||
           isFolder(paths.profilesFolder());
}

fs::path installedDefaultsFolder(const fs::path& executableFolder) {
    // Lexically, without following links: /usr/bin/../share is /usr/share even where /usr/bin is a
    // link, as the installation laid it out.
    return (executableFolder / TALLOWBY_BIN_TO_DEFAULTS).lexically_normal();
}

ProgramPlace locateProgram(const fs::path& executable, const UserFolders& user) {
    ProgramPlace place;
    place.executable = executable;
    const fs::path folder = executable.parent_path();
    const fs::path defaults = installedDefaultsFolder(folder);
    if (holdsDataFiles(folder) || !isFolder(defaults)) {
        place.dataFolder = folder;
        return place;
    }
    place.kind = ProgramKind::Installed;
    place.defaultsFolder = defaults;
    const fs::path dataHome = user.dataFolder();
    if (!dataHome.empty())
        place.dataFolder = dataHome / "tallowby";
    return place;
}

fs::path hostsHelperFor(const ProgramPlace& place) {
    if (place.kind == ProgramKind::Installed) {
        // Exactly the path the polkit action names, or pkexec would not recognise the helper.
        return (place.executableFolder() / TALLOWBY_BIN_TO_HOSTS_HELPER).lexically_normal();
    }
    const fs::path besides = place.executableFolder() / kFolderBuildHelperName;
    return isThere(besides) ? besides : fs::path{};
}

fs::path autostartProgramFor(const ProgramPlace& place) {
    if (place.kind == ProgramKind::Installed)
        return place.executable;
    return place.executableFolder() / kCompanionName;
}

} // namespace tallowby::platform
