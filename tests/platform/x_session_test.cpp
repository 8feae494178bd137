// The X session fixture other tests build on: private displays side by side, a tray host on
// request, and nothing left running afterwards.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#include <sys/wait.h>

#include <xcb/xcb.h>

#include "support/x_probe.h"
#include "support/x_session.h"

namespace tallowby::testsupport {
namespace {

bool reachable(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return ok;
}

TEST(XSessionTest, SessionsGetTheirOwnDisplaysAndLeaveNothingBehind) {
    pid_t firstServer = 0;
    {
        XSession first(XSessionOptions{.windowManager = false});
        XSession second(XSessionOptions{.windowManager = false});
        firstServer = first.serverPid();
        EXPECT_NE(first.display(), second.display());
        EXPECT_TRUE(reachable(first.display()));
        EXPECT_TRUE(reachable(second.display()));
    }
    // Reaped, so the process is gone for good (a zombie would still answer).
    EXPECT_EQ(::kill(firstServer, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

TEST(XSessionTest, StartsAWindowManagerAndATrayHostWhenAsked) {
    XSession session(XSessionOptions{.windowManager = true, .trayHost = true});
    XProbe probe(session.display());
    EXPECT_TRUE(probe.windowManagerRunning());
    EXPECT_TRUE(probe.trayHostRunning());
}

TEST(XSessionTest, ChildrenStartOnTheSessionsDisplay) {
    XSession session(XSessionOptions{.windowManager = false});
    auto child = session.start("sh", {"-c", "test \"$DISPLAY\" = " + session.display()});
    const auto status = child.waitForExit(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

} // namespace
} // namespace tallowby::testsupport
