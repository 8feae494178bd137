// What every system shares; each system's forProgram is with its system operations.
#include "platform/system/system_paths.h"

namespace tallowby::platform {

SystemPaths SystemPaths::forPlace(const ProgramPlace& place, const UserFolders& user, bool sandbox) {
    SystemPaths paths = forProgram(place.dataFolder, sandbox);
    if (place.kind == ProgramKind::Installed && !sandbox) {
        const std::filesystem::path config = user.configFolder();
        paths.autostartFolder = config.empty() ? config : config / "autostart";
        paths.userAutostart = true;
    }
    return paths;
}

} // namespace tallowby::platform
