#include "platform/system/system_operations.h"

#include "platform/linux/system_shutdown.h"
#include "platform/linux/xdg_autostart.h"
#include "platform/logged_shutdown.h"

namespace tallowby::platform {

SystemPaths SystemPaths::forProgram(const std::filesystem::path& programFolder, bool sandbox) {
    if (!sandbox) {
        return {"/etc/hosts", "/etc/xdg/autostart", {}};
    }
    const std::filesystem::path system = programFolder / "system";
    return {system / "hosts", system / "autostart", system / "shutdown.log"};
}

std::unique_ptr<AutoStart> makeAutoStart(const SystemPaths& paths, const std::filesystem::path& program) {
    return std::make_unique<XdgAutoStart>(paths.autostartFolder, program, paths.userAutostart);
}

std::unique_ptr<ShutdownCommand> makeShutdown(const SystemPaths& paths) {
    if (paths.sandbox()) {
        return std::make_unique<LoggedShutdown>(paths.shutdownLog);
    }
    return std::make_unique<SystemShutdown>();
}

} // namespace tallowby::platform
