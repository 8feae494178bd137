#include "platform/system/program_place.h"

#include <algorithm>
#include <system_error>

#include "os/path_text.h"
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

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameElement(const fs::path& a, const fs::path& b) {
    return std::ranges::equal(os::utf8Of(a), os::utf8Of(b), {}, asciiLower, asciiLower);
}

} // namespace

bool isInside(const fs::path& folder, const std::vector<std::string>& folders) {
    const fs::path normal = folder.lexically_normal();
    return std::ranges::any_of(folders, [&](const std::string& text) {
        if (text.empty())
            return false;
        // "C:\Program Files\" and "C:\Program Files" are the same folder.
        const fs::path base = os::pathFromUtf8(text).lexically_normal();
        auto element = normal.begin();
        for (auto part = base.begin(); part != base.end(); ++part, ++element) {
            if (part->empty() && std::next(part) == base.end())
                return true;
            if (element == normal.end() || !sameElement(*part, *element))
                return false;
        }
        return true;
    });
}

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
    // Installed into Program Files, the program's own folder holds the installation's files.
    const bool programFiles = isInside(folder, user.programFiles);
    const fs::path defaults = programFiles ? folder : installedDefaultsFolder(folder);
    if (!programFiles && (holdsDataFiles(folder) || !isFolder(defaults))) {
        place.dataFolder = folder;
        return place;
    }
    place.kind = ProgramKind::Installed;
    place.defaultsFolder = defaults;
    const fs::path dataHome = user.dataFolder();
    if (!dataHome.empty())
        place.dataFolder = dataHome / kDataFolderName;
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
    if (place.kind == ProgramKind::Installed && kInstalledStartsItself)
        return place.executable;
    return place.executableFolder() / kCompanionName;
}

} // namespace tallowby::platform
