// The system operations of a Windows program folder: the machine's, or the sandbox's stand-ins
// inside the folder, and the system's sound player, which the sandbox shares.
#include "platform/logged_shutdown.h"
#include "platform/system/system_operations.h"
#include "platform/windows/run_key_autostart.h"
#include "platform/windows/startup_script_autostart.h"
#include "platform/windows/system_folder.h"
#include "platform/windows/token_privilege.h"
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
    // The machine's Run key starts the program at every user's log-on, as a program that keeps a
    // user to a plan should; only an administrator may write it. An ordinary user's program would be
    // refused there and start at no log-on at all: the user's own Run key starts it at this user's.
    return std::make_unique<windows::RunKeyAutoStart>(
        windows::runsAsAdministrator() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, L"Tallowby", program);
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
