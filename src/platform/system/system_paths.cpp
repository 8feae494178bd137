#include "platform/system/system_paths.h"

namespace tallowby::platform {

SystemPaths SystemPaths::forProgram(const std::filesystem::path& programFolder, bool sandbox) {
    if (!sandbox) {
        return {"/etc/hosts", "/etc/xdg/autostart", {}};
    }
    const std::filesystem::path system = programFolder / "system";
    return {system / "hosts", system / "autostart", system / "shutdown.log"};
}

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
