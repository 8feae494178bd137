// Reminders and the automatic shutdown of the sandbox program at its moved wall clock: the pop-up
// with its subject at the reminder's time, the shutdown written to the sandbox's log at its time,
// and no shutdown after the warning was cancelled.
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

} // namespace
} // namespace tallowby::e2e
