// The desktop of a Windows program: Win32 windows and Toolhelp processes, the Start menu's
// shortcuts, the system's sounds.
#include "platform/system/desktop_system.h"

#include "platform/windows/start_menu_shortcuts.h"
#include "platform/windows/toolhelp_processes.h"
#include "platform/windows/win32_platform.h"

namespace tallowby::platform {
namespace {

class WindowsDesktop : public DesktopSystem {
  public:
    SweepPlatform sweepPlatform() override { return win32_.sweepPlatform(); }
    ProcessKiller& killer() override { return win32_.killer(); }
    DesktopEntries& applications() override { return applications_; }
    SoundPlayer& sound() override { return *sound_; }
    ProcessId ownProcess() const override { return windows::ownProcessId(); }

  private:
    // For the process pickers. A shortcut names its program by the file the window's process runs,
    // so the sweeps know every window by its program without reading them.
    windows::StartMenuShortcuts applications_{windows::StartMenuShortcuts::startMenuFolders()};
    windows::Win32Platform win32_;
    std::unique_ptr<SoundPlayer> sound_ = makeSoundPlayer();
};

} // namespace

std::unique_ptr<DesktopSystem> makeDesktopSystem() {
    return std::make_unique<WindowsDesktop>();
}

HostsFile makeHostsFile(const ProgramPlace& place, const SystemPaths& system) {
    return HostsFile(system.hostsFile, std::string(nativeLineEnd()),
                     system.sandbox() ? place.dataFolder : std::filesystem::path());
}

} // namespace tallowby::platform
