// The desktop of a Linux program: X11 and /proc over one X connection, the XDG desktop entries,
// the system's sounds, and pkexec's helper for the machine's hosts file.
#include "platform/system/desktop_system.h"

#include "platform/linux/pkexec_hosts_write.h"
#include "platform/linux/procfs_processes.h"
#include "platform/linux/xdg_desktop_entries.h"
#include "platform/x11/x11_platform.h"

namespace tallowby::platform {
namespace {

class LinuxDesktop : public DesktopSystem {
  public:
    LinuxDesktop() : applications_(XdgDesktopEntries::dataFolders()), x11_({}, &applications_) {}

    SweepPlatform sweepPlatform() override { return x11_.sweepPlatform(); }
    ProcessKiller& killer() override { return x11_.killer(); }
    DesktopEntries& applications() override { return applications_; }
    SoundPlayer& sound() override { return *sound_; }
    ProcessId ownProcess() const override { return ownProcessId(); }

  private:
    XdgDesktopEntries applications_;
    x11::X11Platform x11_;
    std::unique_ptr<SoundPlayer> sound_ = makeSoundPlayer();
};

} // namespace

std::unique_ptr<DesktopSystem> makeDesktopSystem() {
    return std::make_unique<LinuxDesktop>();
}

HostsFile makeHostsFile(const ProgramPlace& place, const SystemPaths& system) {
    HostsFile hosts(system.hostsFile, std::string(nativeLineEnd()),
                    system.sandbox() ? place.dataFolder : std::filesystem::path());
    // The sandbox's hosts file is its own to write; only the machine's may need an administrator.
    if (const std::filesystem::path helper = hostsHelperFor(place); !system.sandbox() && !helper.empty())
        hosts.setPrivilegedWrite(std::make_shared<BackgroundHostsWrite>(
            PkexecHostsWrite(PkexecHostsWrite::optionsFor(helper, system.hostsFile))));
    return hosts;
}

} // namespace tallowby::platform
