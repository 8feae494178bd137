// A minute of simulated time in which the tick runs a profile's rules with the system the Windows
// program makes for itself (a sandbox's), as the program's one-second timer would: the windows of a
// blocked program the test started, Wine's taskmgr.exe, and the sandbox's hosts file in a folder of
// the test's own. Only the clock is simulated.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "platform/system/desktop_system.h"
#include "platform/system/system_paths.h"
#include "platform/window_sweep.h"
#include "platform/windows/toolhelp_processes.h"
#include "platform/windows/win32_windows.h"
#include "started_program.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "tick_fixture.h"

namespace tallowby::platform::windows {
namespace {

using engine::kit::hms;
using namespace std::chrono_literals;

// The hosts file of a sandbox program in that folder.
HostsFile sandboxHosts(const std::filesystem::path& programFolder) {
    ProgramPlace place;
    place.dataFolder = programFolder;
    return makeHostsFile(place, SystemPaths::forProgram(programFolder, true));
}

// Carries out what the tick asks with the program's own system, and writes it down as the engine's
// tests do.
class PlatformActions : public engine::kit::RecordingActions {
  public:
    PlatformActions(const engine::Clock& clock, const engine::TickState* state,
                    const std::filesystem::path& programFolder)
        : RecordingActions(clock, state), hosts_(sandboxHosts(programFolder)) {}

    void killTaskManager() override {
        RecordingActions::killTaskManager();
        ended_ += KillTaskManager(system_->killer()).ended.size();
    }
    void sweepWindows(const engine::SweepRule& rule) override {
        RecordingActions::sweepWindows(rule);
        const auto posted = WindowSweep(system_->sweepPlatform(), rule, system_->ownProcess());
        posted_.insert(posted_.end(), posted.begin(), posted.end());
    }
    bool writeHosts(const std::vector<std::string>& sites) override {
        RecordingActions::writeHosts(sites);
        return hosts_.write(sites);
    }
    bool hostsHold(const std::vector<std::string>& sites) override { return hosts_.holds(sites); }

    std::size_t ended_ = 0;
    std::vector<PostedCommand> posted_;

  private:
    std::unique_ptr<DesktopSystem> system_ = makeDesktopSystem();
    HostsFile hosts_;
};

class WindowsTickTest : public engine::TickTest {
  protected:
    testsupport::TempFolder folder;
    PlatformActions platform{clock, &state, folder.path()};

    void minuteFrom(std::int64_t msOfDay) {
        clock.setTime(msOfDay);
        for (int second = 0; second < 60; ++second) {
            runTick({lists, panel, intervalMs}, state, clock, platform);
            clock.advance(intervalMs);
        }
    }
};

TEST_F(WindowsTickTest, AMinuteAcrossASessionStartBlocksItsProgramSitesAndTaskManager) {
    // The blocked program runs under a name of this test's own, started by nobody still running.
    std::string blocked = "blocked";
    for (const char digit : std::to_string(ownProcessId()))
        blocked += static_cast<char>('a' + (digit - '0'));
    std::filesystem::copy_file(testsupport::testProgram(), folder / (blocked + ".exe"));
    testsupport::StartedProgram program =
        testsupport::StartedProgram::detached(folder / (blocked + ".exe"), L"window \"Distraction\"");
    testsupport::StartedProgram taskManager(testsupport::systemProgram(L"taskmgr.exe"), L"");
    Win32WindowList windows;
    const auto windowOfProgram = [&]() -> HWND {
        for (const TopLevelWindow& window : windows.topLevelWindows())
            if (window.pid == program.pid() && window.title == "Distraction" && window.visible)
                return reinterpret_cast<HWND>(window.id);
        return nullptr;
    };
    ASSERT_TRUE(testsupport::waitUntil([&] { return windowOfProgram() != nullptr; }));
    std::filesystem::create_directory(folder / "system");
    testsupport::writeFile(folder / "system" / "hosts", "127.0.0.1 localhost\r\n");
    config(store::ConfigLine::BlockTaskManager, "1");
    addSession("09:00", "10:00", kMondayOnly, "0", blocked + ";", "news.example.org;");

    minuteFrom(hms(8, 59, 30));

    // Task Manager went in the first tick; the program's window from 09:00 on, every second.
    EXPECT_TRUE(taskManager.ended(10s));
    EXPECT_EQ(platform.ended_, 1u);
    ASSERT_FALSE(platform.posted_.empty());
    for (const PostedCommand& posted : platform.posted_) {
        EXPECT_EQ(posted.pid, program.pid());
        EXPECT_EQ(posted.command, WindowCommand::Minimize);
    }
    EXPECT_GE(platform.of(engine::kit::Act::Sweep).front().at.msOfDay, hms(9, 0));
    EXPECT_TRUE(testsupport::waitUntil([&] { return ::IsIconic(windowOfProgram()) != FALSE; }));
    // The session's site is blocked in the file, with Windows line ends, the user's line kept.
    const std::string hosts = testsupport::readFile(folder / "system" / "hosts");
    EXPECT_EQ(hosts, "127.0.0.1 localhost\r\n" + renderHostsBlock({"news.example.org"}, "\r\n"));
    EXPECT_FALSE(program.ended(0ms));
}

} // namespace
} // namespace tallowby::platform::windows
