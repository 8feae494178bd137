// The desktop session ending under a running program: whether the system asks it to end or its
// display is gone, it lifts its website blocks and ends, without asking for the check code that
// guards Exit (nobody is there to type it). The next log-on's start blocks again.
#include <csignal>

#include "sandbox_desktop_test.h"
#include "support/wait_until.h"

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;

class SessionEndTest : public SandboxDesktopTest {
  protected:
    void startBlocking() {
        sandbox.configure({.stopAsksCheckCode = true, .exitAsksCheckCode = true},
                          {.wholeDay = {kMondayOnly, kBlockMode, "", "chat.example;"}});
        startProgram(kMonday10);
        programWindow();
        expectHosts(hostsWithBlock({"chat.example"}));
    }

    // The program ended by itself within the time a session end allows, and is taken over.
    std::optional<int> exitStatus() {
        const std::optional<int> status = program->waitForExit(20s);
        program.reset();
        return status;
    }
};

TEST_F(SessionEndTest, TheSystemAskingTheProgramToEndLiftsTheBlocks) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        startBlocking();
        ASSERT_EQ(::kill(program->pid(), signal), 0);
        EXPECT_EQ(exitStatus(), 0);
        EXPECT_EQ(sandbox.hosts(), hostsWithBlock({}));
    }
}

TEST_F(SessionEndTest, ALostDisplayLiftsTheBlocks) {
    startBlocking();
    ASSERT_EQ(::kill(session.serverPid(), SIGKILL), 0);
    EXPECT_TRUE(exitStatus());
    EXPECT_EQ(sandbox.hosts(), hostsWithBlock({}));
}

} // namespace
} // namespace tallowby::e2e
