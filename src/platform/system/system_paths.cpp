#include "platform/system/system_paths.h"

namespace tallowby::platform {

SystemPaths SystemPaths::forProgram(const std::filesystem::path& programFolder, bool sandbox) {
    if (!sandbox) {
        return {"/etc/hosts", "/etc/xdg/autostart", {}};
    }
    const std::filesystem::path system = programFolder / "system";
    return {system / "hosts", system / "autostart", system / "shutdown.log"};
}

} // namespace tallowby::platform
