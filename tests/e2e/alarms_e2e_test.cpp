// Reminders and the automatic shutdown of the sandbox program at its moved wall clock: the pop-up
// with its subject at the reminder's time, once even when the clock is set back over it, the
// shutdown written to the sandbox's log at its time,
// no shutdown after the warning was cancelled (with its check code typed into the window above it,
// also over a Stop code already on show), and a pop-up that answers while a notice opens.
#include "accessible_desktop.h"
#include "desktop_checks.h"
#include "support/file_bytes.h"
#include "support/wait_until.h"

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::waitUntil;

class AlarmsTest : public AccessibleDesktopTest {
  protected:
    std::filesystem::path shutdownLog() const { return sandbox.folder() / "system" / "shutdown.log"; }
    bool shutdownLogged() const {
        return std::filesystem::exists(shutdownLog()) &&
               testsupport::readFile(shutdownLog()).find("shutdown -P +1") != std::string::npos;
    }
};

TEST_F(AlarmsTest, TheReminderPopsUpWithItsSubjectAndTheShutdownComesAtItsTime) {
    // Shutdown every day at 10:01, and a Monday reminder at the same minute.
    sandbox.configure(
        {}, {.reminders = {"1111111", "10:01", "1", "1", "0", "10:01", "1", "0100000", "Stretch now"}});
    startAccessible("2026-12-07 10:00:55");
    const std::string popUp = "Reminder - It's time 10:01";
    ASSERT_TRUE(
        drive({"holds:" + popUp + "/text#1=Stretch now", "click:" + popUp + "/OK", "closed:" + popUp}));
    EXPECT_TRUE(waitUntil([&] { return shutdownLogged(); }, 20s)) << "no shutdown was started";
}

TEST_F(AlarmsTest, ACancelledShutdownDoesNotComeEvenAfterARestart) {
    sandbox.configure({}, {.reminders = {"1111111", "10:01", "1", "0", "0"}});
    startAccessible("2026-12-07 09:50:55");
    const std::string warning = "Reminder for shutdown at 10:01";
    ASSERT_TRUE(
        drive({"click:" + warning + "/Cancel the shutdown", "closed:" + warning, "click:Tallowby/OK"}));
    EXPECT_EQ(profileFile("Work.rem"), "0\r\n10:01\r\n1\r\n0\r\n0\r\n");

    // The program starts again just before the time the shutdown was set for.
    killProgram();
    startAccessible("2026-12-07 10:00:55");
    EXPECT_TRUE(holdsFor([&] { return !std::filesystem::exists(shutdownLog()); }, 12s));
}

TEST_F(AlarmsTest, AClockSetBackOverAReminderDoesNotBringItBack) {
    sandbox.configure(
        {}, {.reminders = {"0000000", "22:30", "1", "1", "1", "10:01", "0", "1111111", "Stretch now"}});
    sandbox.useMovableClock();
    startAccessible("2026-12-07 10:00:57");
    const std::string popUp = "Reminder - It's time 10:01";
    ASSERT_TRUE(drive({"click:" + popUp + "/OK", "closed:" + popUp}));
    // The clock passes 10:01:00 again within a quarter of a minute.
    sandbox.setClockBack(15);
    EXPECT_TRUE(holdsFor([&] { return visibleWindowsNamed(session, "^" + popUp + "$").empty(); }, 25s))
        << "the reminder popped up again";
}

// Shutdown at 10:01 every day, cancelled only with the check code.
const ProfileRules kGuardedShutdown{.reminders = {"1111111", "10:01", "1", "0", "1"}};
const std::string kWarning = "Reminder for shutdown at 10:01";
const std::string kCode = "Check code - 10 bits";

// The code typed in the dialog above the warning; the warning and the code close, then "Done.".
const std::vector<std::string> kCancelWithCode{
    "click:" + kWarning + "/Cancel the shutdown",
    "retype:" + kCode + "/label#1=" + kCode + "/text#1",
    "click:" + kCode + "/OK",
    "closed:" + kWarning,
    "click:Tallowby/OK",
    "closed:" + kCode,
};

TEST_F(AlarmsTest, TheShutdownIsCancelledWithTheCheckCodeTypedAboveTheWarning) {
    sandbox.configure({}, kGuardedShutdown);
    startAccessible("2026-12-07 09:50:55");
    ASSERT_TRUE(drive(kCancelWithCode));
    EXPECT_EQ(profileFile("Work.rem"), "0\r\n10:01\r\n1\r\n0\r\n1\r\n");
}

TEST_F(AlarmsTest, ACancelAskedOverAnOpenStopCodeTakesItsPlace) {
    sandbox.configure({.stopAsksCheckCode = true}, kGuardedShutdown);
    startAccessible("2026-12-07 09:50:50");
    std::vector<std::string> steps{"click:Tallowby/Stop", "shown:" + kCode, "shown:" + kWarning};
    steps.insert(steps.end(), kCancelWithCode.begin(), kCancelWithCode.end());
    ASSERT_TRUE(drive(steps));
    EXPECT_EQ(profileFile("Work.rem"), "0\r\n10:01\r\n1\r\n0\r\n1\r\n");
    // The Stop asked for first was given up: the rules still run, and Stop asks again.
    EXPECT_TRUE(drive({"click:Tallowby/Stop", "shown:" + kCode}));
}

TEST_F(AlarmsTest, AReminderPopUpAnswersWhileANoticeOpensBesideIt) {
    // The reminder at 10:01; a minute later the notice ten minutes before the 10:12 session.
    sandbox.configure(
        {.sessionNotices = true},
        {.sessions = {{"10:12", "11:00", "1111111", kBlockMode, "", ""}},
         .reminders = {"0000000", "22:30", "1", "1", "1", "10:01", "0", "1111111", "Stretch now"}});
    startAccessible("2026-12-07 10:00:54");
    const std::string popUp = "Reminder - It's time 10:01";
    ASSERT_TRUE(drive({"shown:" + popUp}));
    ASSERT_TRUE(waitUntil([&] { return visibleWindowsNamed(session, "^Tallowby$").size() == 2; }, 80s))
        << "no notice opened";
    EXPECT_TRUE(drive({"click:" + popUp + "/OK", "closed:" + popUp, "click:Tallowby/OK"}));
}

} // namespace
} // namespace tallowby::e2e
