// The program's window shell from outside: a close request puts the window away while the rules run
// on, and Exit, reached through the notification-area icon, lifts every block before the end.
#include "desktop_checks.h"
#include "sandbox_desktop_test.h"
#include "support/wait_until.h"

#include <sys/wait.h>

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::waitUntil;

constexpr auto kDeadline = 20s;

const ProfileRules kBlockedNews{
    .sessions = {{"09:00", "12:00", kMondayOnly, kBlockMode, "", "news.example;"}}};

class ShellTest : public SandboxDesktopTest {
  protected:
    ShellTest() : SandboxDesktopTest({.trayHost = true}) {}

    std::vector<std::uint32_t> programWindowsShown() { return visibleWindowsOfClass(session, "^tallowby$"); }

    // The icon, once it is the program's only window on show.
    std::uint32_t trayIconAlone() {
        std::vector<std::uint32_t> shown;
        const bool alone = waitUntil(
            [&] {
                shown = programWindowsShown();
                return shown.size() == 1;
            },
            kDeadline);
        EXPECT_TRUE(alone) << "the program did not go to the notification area";
        return alone ? shown.front() : 0;
    }

    void xdotool(const std::vector<std::string>& args) {
        auto tool = session.start("xdotool", args);
        const auto status = tool.waitForExit(10s);
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "xdotool " << args.front();
    }

    // Opens the icon's menu with the right button and chooses its last item, "Exit".
    void exitThroughTray(std::uint32_t icon) {
        const bool menuShown = waitUntil(
            [&] {
                xdotool({"mousemove", "--window", std::to_string(icon), "5", "5", "click", "3"});
                return waitUntil([&] { return programWindowsShown().size() > 1; }, 3s);
            },
            kDeadline);
        ASSERT_TRUE(menuShown) << "the icon's menu did not open";
        xdotool({"key", "Up", "Return"});
    }
};

TEST_F(ShellTest, CloseRequestPutsTheWindowAwayAndTheRulesRunOn) {
    sandbox.configure({}, kBlockedNews);
    startProgram(kMonday10);
    const std::uint32_t own = programWindow();
    expectHosts(hostsWithBlock({"news.example"}));

    requestClose(session, own);

    EXPECT_NE(trayIconAlone(), 0u);
    EXPECT_FALSE(normal(own));
    EXPECT_TRUE(holdsFor([&] { return sandbox.hosts() == hostsWithBlock({"news.example"}); }, 1500ms));
}

TEST_F(ShellTest, ExitThroughTheTrayLiftsEveryBlockAndEnds) {
    sandbox.configure({.startToIcon = true}, kBlockedNews);
    startProgram(kMonday10);
    expectHosts(hostsWithBlock({"news.example"}));
    const std::uint32_t icon = trayIconAlone();
    ASSERT_NE(icon, 0u);

    exitThroughTray(icon);

    const auto status = program->waitForExit(kDeadline);
    ASSERT_TRUE(status.has_value()) << "Exit did not end the program";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(sandbox.hosts(), hostsWithBlock({}));
    program.reset();
}

} // namespace
} // namespace tallowby::e2e
