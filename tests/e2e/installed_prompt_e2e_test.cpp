// The installed program while pkexec waits on a password dialog, as it does for a user who is not
// the active local one: the website block waits, the window does not. Its clock runs on and a
// blocked program's window is minimised all the while.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ctime>

#include "installed_program.h"
#include "rule_files.h"
#include "support/other_user.h"
#include "support/wait_until.h"
#include "support/x_probe.h"

namespace tallowby::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::waitUntil;

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

} // namespace
} // namespace tallowby::e2e
