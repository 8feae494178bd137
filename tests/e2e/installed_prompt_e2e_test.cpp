// The installed program while pkexec waits on a password dialog, as it does for a user who is not
// the active local one: the website block waits, the window does not. Its clock runs on and a
// blocked program's window is minimised all the while, and a pause counts down while an
// administrator's password for an early lift is asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <optional>
#include <sys/wait.h>

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

// A pause with a website kept from an earlier run, and the user's yes to lifting it early: the
// administrator's password for it is asked for with this answer.
class EarlyLiftTest : public testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = testsupport::whyNoOtherUser(); !why.empty())
            GTEST_SKIP() << why;
        installed.emplace();
        installed->writeEveryDayRule("", std::string(kLockedSite) + ";");
        // Kept until its session's end, two hours from now.
        const std::int64_t now = std::time(nullptr);
        platform::BlockRequest kept{kLockedSite};
        kept.lockedUntil[kLockedSite] = now + 2 * 60 * 60;
        // In the part of the user the program runs as.
        const platform::HostsWriter user{std::to_string(testsupport::kNobodyId), "\n", {}};
        const platform::HostsWritePlan plan =
            platform::planHostsWrite(testsupport::readFile(installed->hostsFile()), kept, now, user);
        ASSERT_TRUE(plan.content);
        testsupport::writeFile(installed->hostsFile(), *plan.content);
        // Blocking goes through at once.
        installed->pkexec().answer({0, "", 0});
    }

    // Starts the program, pauses, says yes to the early lift and waits until pkexec is asked for it.
    void pauseAndLift(const testsupport::StandInProgram::Answer& liftAnswer) {
        installed->pkexec().answerWhen(std::string(platform::kHostsHelperLiftEarly), liftAnswer);
        accessibility.emplace(*installed, session);
        program.emplace(installed->start(session, accessibility->programEnvironment()));
        ASSERT_TRUE(accessibility->drive({"shown:Tallowby", "click:Tallowby/Pause", "click:Pause/Ok",
                                          "closed:Pause", "click:Tallowby/Yes"}))
            << "the pause was not begun, or no early lift was offered";
        ASSERT_TRUE(waitUntil([&] { return liftCalls() == 1; }, 20s))
            << "the early lift was not handed to pkexec";
    }

    std::size_t liftCalls() const {
        return std::ranges::count_if(installed->pkexec().calls(), [](const auto& call) {
            return !call.args.empty() && call.args.back() == platform::kHostsHelperLiftEarly;
        });
    }

    std::optional<InstalledProgram> installed;
    testsupport::XSession session;
    std::optional<UsersAccessibility> accessibility;
    std::optional<testsupport::ChildProcess> program;
};

TEST_F(EarlyLiftTest, ThePauseCountsDownWhileItsPasswordDialogWaits) {
    // The password is never given.
    pauseAndLift({0, "", 3600});
    EXPECT_TRUE(accessibility->drive({"changes:Tallowby/Countdown *=3"}))
        << "the pause countdown stood still";
    EXPECT_FALSE(program->hasExited()) << "the program ended by itself";
    EXPECT_EQ(liftCalls(), 1u);
    program->stop();
}

TEST_F(EarlyLiftTest, AnExitWhileItsPasswordDialogWaitsEndsOnceItsOutcomeIsTold) {
    // The dialog is dismissed some seconds on, after the Exit.
    pauseAndLift({126, "", 20});
    // The installation's options guard Exit with the check code.
    const std::string code = "Check code - 10 bits";
    ASSERT_TRUE(
        accessibility->drive({"click:Tallowby/Exit", "retype:" + code + "/label#1=" + code + "/text#1",
                              "click:" + code + "/OK", "closed:Tallowby/Countdown *"}))
        << "Exit did not put the window away";
    // Hidden, the program waits for the answer and tells it; it ends once that is read.
    ASSERT_TRUE(waitUntil([&] { return accessibility->drive({"shown:Tallowby/OK"}); }, 60s))
        << "the refused lift was not told";
    EXPECT_FALSE(program->hasExited()) << "ended before the refusal was read";
    ASSERT_TRUE(accessibility->drive({"click:Tallowby/OK"}));
    const std::optional<int> status = program->waitForExit(30s);
    ASSERT_TRUE(status) << "the program did not end";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(liftCalls(), 1u) << "the lift was asked for again";
}

} // namespace
} // namespace tallowby::e2e
