// The installed program while pkexec waits on a password dialog, as it does for a user who is not
// the active local one: the website block waits, the window does not. Its clock runs on and a
// blocked program's window is minimised all the while, and a pause counts down while an
// administrator's password for an early lift is asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ctime>

#include "installed_program.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/site_locks.h"
#include "rule_files.h"
#include "support/file_bytes.h"
#include "support/other_user.h"
#include "support/wait_until.h"
#include "support/x_probe.h"

namespace tallowby::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::waitUntil;

constexpr const char* kLockedSite = "kept.tallowby.test";

// The program's clock as it shows the local time a few seconds from now.
std::string clockShownIn(std::chrono::seconds later) {
    const std::time_t when = std::time(nullptr) + later.count();
    std::tm local{};
    ::localtime_r(&when, &local);
    std::array<char, 16> text{};
    std::strftime(text.data(), text.size(), "%H-%M-%S", &local);
    return text.data();
}

TEST(InstalledProgramPrompt, TheWindowRunsOnWhileAPasswordDialogWaits) {
    if (const std::string why = testsupport::whyNoOtherUser(); !why.empty())
        GTEST_SKIP() << why;
    const InstalledProgram installed;
    installed.writeEveryDayRule("xterm;", "blocked.tallowby.test;");
    // Answered after 45 s, as a person would who takes their time over the password.
    installed.pkexec().answer({0, "", 45});

    testsupport::XSession session;
    testsupport::XProbe probe(session.display());
    const UsersAccessibility accessibility(installed, session);
    testsupport::ChildProcess program = installed.start(session, accessibility.programEnvironment());
    ASSERT_TRUE(accessibility.drive({"shown:Tallowby"}));

    // A program the rules block, opened by the user while the dialog waits.
    const std::vector<std::string> xterm = installed.asUser(session, {}, {"xterm"});
    testsupport::ChildProcess terminal = session.start(xterm.front(), {xterm.begin() + 1, xterm.end()});
    // Once minimised it is mapped no more; of the managed windows only the terminal's may be.
    ASSERT_TRUE(waitUntil([&] { return probe.managedTopFirst().size() >= 2; }, 20s)) << "no terminal window";
    const auto minimised = [&] {
        const auto windows = probe.managedTopFirst();
        return std::ranges::count_if(windows,
                                     [&](std::uint32_t window) { return probe.wmState(window) == 3u; }) == 1;
    };
    EXPECT_TRUE(waitUntil(minimised, 20s)) << "the blocked program's window was not minimised";
    const std::string later = clockShownIn(3s);
    EXPECT_TRUE(accessibility.drive({"holds:Tallowby/" + later + "=" + later})) << "the clock stood still";

    EXPECT_EQ(installed.pkexec().calls().size(), 1u) << "asked again while the dialog waited";
    EXPECT_FALSE(program.hasExited()) << "the program ended by itself";
    program.stop();
}

TEST(InstalledProgramPrompt, ThePauseCountsDownWhileTheEarlyLiftsPasswordDialogWaits) {
    if (const std::string why = testsupport::whyNoOtherUser(); !why.empty())
        GTEST_SKIP() << why;
    const InstalledProgram installed;
    installed.writeEveryDayRule("", std::string(kLockedSite) + ";");
    // An earlier run kept the site until its session's end, two hours from now.
    const std::int64_t now = std::time(nullptr);
    platform::BlockRequest kept{kLockedSite};
    kept.lockedUntil[kLockedSite] = now + 2 * 60 * 60;
    testsupport::writeFile(
        installed.hostsFile(),
        platform::renderHosts(testsupport::readFile(installed.hostsFile()), kept, now, "\n"));
    // Blocking goes through at once; the administrator's password for the early lift is never given.
    installed.pkexec().answer({0, "", 0});
    installed.pkexec().answerWhen(std::string(platform::kHostsHelperLiftEarly), {0, "", 3600});

    testsupport::XSession session;
    const UsersAccessibility accessibility(installed, session);
    testsupport::ChildProcess program = installed.start(session, accessibility.programEnvironment());
    // A pause stops the rules; the kept site stays, and the user asks to lift it early.
    ASSERT_TRUE(accessibility.drive(
        {"shown:Tallowby", "click:Tallowby/Pause", "click:Pause/Ok", "closed:Pause", "click:Tallowby/Yes"}))
        << "the pause was not begun, or no early lift was offered";
    const auto liftAsked = [&] {
        const auto calls = installed.pkexec().calls();
        return std::ranges::any_of(calls, [](const auto& call) {
            return !call.args.empty() && call.args.back() == platform::kHostsHelperLiftEarly;
        });
    };
    ASSERT_TRUE(waitUntil(liftAsked, 20s)) << "the early lift was not handed to pkexec";

    // While its password dialog waits, the window goes on: the countdown runs.
    EXPECT_TRUE(accessibility.drive({"changes:Tallowby/Countdown *=3"})) << "the pause countdown stood still";
    EXPECT_FALSE(program.hasExited()) << "the program ended by itself";
    program.stop();
}

} // namespace
} // namespace tallowby::e2e
