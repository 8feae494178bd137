// The system operations of a Windows program folder: the machine's, or the sandbox's stand-ins
// inside the folder, and the system's sound player, which the sandbox shares.
#include "platform/logged_shutdown.h"
#include "platform/system/system_operations.h"
#include "platform/windows/run_key_autostart.h"
#include "platform/windows/startup_script_autostart.h"
#include "platform/windows/system_folder.h"
#include "platform/windows/windows_shutdown.h"
#include "platform/windows/winmm_sound_player.h"

namespace tallowby::platform {

SystemPaths SystemPaths::forProgram(const std::filesystem::path& programFolder, bool sandbox) {
    if (!sandbox)
        return {windows::systemHostsFile(), {}, {}}; // autostart is the Run key, no folder
    const std::filesystem::path system = programFolder / "system";
    return {system / "hosts", system / "autostart", system / "shutdown.log"};
}

std::unique_ptr<AutoStart> makeAutoStart(const SystemPaths& paths, const std::filesystem::path& program) {
    if (paths.sandbox())
        return std::make_unique<windows::StartupScriptAutoStart>(paths.autostartFolder, program);
    return std::make_unique<windows::RunKeyAutoStart>(L"Tallowby", program);
}

std::unique_ptr<ShutdownCommand> makeShutdown(const SystemPaths& paths) {
    if (paths.sandbox())
        return std::make_unique<LoggedShutdown>(paths.shutdownLog);
    return std::make_unique<windows::WindowsShutdown>();
}

std::unique_ptr<SoundPlayer> makeSoundPlayer() {
    return std::make_unique<windows::WinmmSoundPlayer>();
}

} // namespace tallowby::platform
