#pragma once
// The enforcement operations of a test: fake windows and processes, no installed applications
// unless the test lists some, a hosts file in the test's own folder, a
// shutdown and an autostart entry that only count, alert sounds that play nothing.
#include <filesystem>

#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_sound_player.h"
#include "platform/fake/fake_system.h"
#include "platform/hosts/hosts_file.h"
#include "ui/common/enforcement.h"

namespace tallowby::test {

struct FakeEnforcement {
    explicit FakeEnforcement(std::filesystem::path hostsFile) : hostsPath(std::move(hostsFile)) {}

    ui::Enforcement make() {
        return {desktop.sweepPlatform(),
                desktop,
                platform::HostsFile(hostsPath, "\n"),
                shutdown,
                autostart,
                ownProcess,
                [this] { ++debugPrivilegeRequests; },
                sound,
                desktop,
                waylandSession};
    }

    std::filesystem::path hostsPath;
    platform::FakePlatform desktop;
    platform::FakeShutdown shutdown;
    platform::FakeAutoStart autostart;
    platform::FakeSoundPlayer sound;
    // The program's own process among the fake desktop's.
    platform::ProcessId ownProcess = platform::kNoProcess;
    bool waylandSession = false;
    int debugPrivilegeRequests = 0;
};

} // namespace tallowby::test
