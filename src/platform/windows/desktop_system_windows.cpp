// The desktop of a Windows program: Win32 windows and Toolhelp processes, the system's sounds.
#include "platform/system/desktop_system.h"

#include "platform/windows/toolhelp_processes.h"
#include "platform/windows/win32_platform.h"

namespace tallowby::platform {
namespace {

// The Start menu's shortcuts are not read: windows answer to their program's and class's names.
class NoApplications : public DesktopEntries {
  public:
    const std::vector<DesktopEntry>& applications() override { return none_; }

  private:
    std::vector<DesktopEntry> none_;
};

class WindowsDesktop : public DesktopSystem {
  public:
    SweepPlatform sweepPlatform() override { return win32_.sweepPlatform(); }
    ProcessKiller& killer() override { return win32_.killer(); }
    DesktopEntries& applications() override { return applications_; }
    SoundPlayer& sound() override { return *sound_; }
    ProcessId ownProcess() const override { return windows::ownProcessId(); }

  private:
    NoApplications applications_;
    windows::Win32Platform win32_{&applications_};
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
