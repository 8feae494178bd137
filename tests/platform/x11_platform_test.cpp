// The Linux/X11 platform against real windows: a private Xvfb with openbox, and testwin programs
// this test starts under the executable names it needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <optional>

#include <sys/socket.h>
#include <sys/wait.h>
#include <xcb/xcb_icccm.h>

#include "own_children.h"
#include "platform/window_lookup.h"
#include "platform/x11/x11_platform.h"
#include "support/test_window.h"
#include "support/x_probe.h"
#include "support/x_session.h"

namespace tallowby::platform {
namespace {

using namespace std::chrono_literals;
using engine::SweepKind;
using engine::SweepRule;
using testsupport::ProgramCopies;
using testsupport::TestWindow;
using testsupport::TestWindowOptions;
using testsupport::waitUntil;
using testsupport::XProbe;
using testsupport::XSession;
using testsupport::XSessionOptions;
using x11::X11Platform;

SweepRule rule(SweepKind kind, std::vector<std::string> names, WindowCommand command) {
    SweepRule r;
    r.kind = kind;
    r.names = std::move(names);
    r.command = command;
    return r;
}

// The program's own process in the tests that are not about sparing it: none, so no window is
// spared as the program's. (This test process started every test window.)
constexpr ProcessId kSelf = kNoProcess;

class X11PlatformTest : public ::testing::Test {
  protected:
    explicit X11PlatformTest(XSessionOptions options = {}) : session(options) {}

    TestWindow start(const std::string& exe, const std::string& title,
                     const TestWindowOptions& options = {}) {
        TestWindow window(session, programs.copyAs(exe), title, options);
        children.add(static_cast<ProcessId>(window.pid()));
        return window;
    }

    std::optional<TopLevelWindow> listed(std::uint32_t id) {
        for (auto& window : platform.windows().topLevelWindows()) {
            if (window.id == id) {
                return window;
            }
        }
        return std::nullopt;
    }

    bool iconic(const TestWindow& window) {
        return probe.wmState(window.window()) == XCB_ICCCM_WM_STATE_ICONIC;
    }

    XSession session;
    XProbe probe{session.display()};
    ProgramCopies programs;
    X11Platform platform{session.display()};
    OwnChildren children;
};

TEST_F(X11PlatformTest, ListsWindowsTopmostFirstWithTitleVisibilityAndOwner) {
    auto first = start("notepad.exe", "First window");
    auto second = start("calc.exe", "Second window — ünïcode");
    auto third = start("winword.exe", "Third window");
    ASSERT_TRUE(probe.raise(second.window()));

    const auto windows = platform.windows().topLevelWindows();

    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[0].id, second.window());
    EXPECT_EQ(windows[0].title, "Second window — ünïcode");
    EXPECT_EQ(windows[0].pid, static_cast<ProcessId>(second.pid()));
    std::vector<std::uint32_t> ids;
    for (const auto& window : windows) {
        EXPECT_TRUE(window.visible) << window.title;
        ids.push_back(static_cast<std::uint32_t>(window.id));
    }
    EXPECT_EQ(ids, probe.managedTopFirst());
    const auto& firstListed = *std::ranges::find(windows, first.window(), &TopLevelWindow::id);
    EXPECT_EQ(firstListed.title, "First window");
    EXPECT_EQ(firstListed.pid, static_cast<ProcessId>(first.pid()));
}

TEST_F(X11PlatformTest, FindsTheOwnerOfAWindowWithoutNetWmPidThroughXRes) {
    auto window = start("xlogo", "No pid here", {.setPid = false});
    const auto found = listed(window.window());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->pid, static_cast<ProcessId>(window.pid()));
}

TEST_F(X11PlatformTest, ReadsALatin1WmNameWhenThereIsNoNetWmName) {
    auto window = start("oldapp.exe", "Café olé", {.wmNameOnly = true});
    const auto found = listed(window.window());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->title, "Café olé");
}

TEST_F(X11PlatformTest, LeavesOutPanels) {
    auto dock = start("panel", "Panel", {.dock = true});
    auto normal = start("calc.exe", "Calculator");
    EXPECT_FALSE(listed(dock.window()));
    EXPECT_TRUE(listed(normal.window()));
}

TEST_F(X11PlatformTest, AMinimisedWindowIsIconicAndStillVisible) {
    auto window = start("notepad.exe", "Notes");
    platform.commander().post(window.window(), WindowCommand::Minimize);
    ASSERT_TRUE(waitUntil([&] { return iconic(window); }));
    const auto found = listed(window.window());
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->visible);
}

TEST_F(X11PlatformTest, BlockSweepMinimisesListedWindowsAndLeavesTheRestAlone) {
    auto notepad = start("notepad.exe", "Untitled - Notepad");
    auto calc = start("calc.exe", "Calculator");
    auto explorer = start("explorer.exe", "Files");

    const auto posted = WindowSweep(
        platform.sweepPlatform(),
        rule(SweepKind::SessionBlock, {"notepad.exe", "explorer.exe"}, WindowCommand::Minimize), kSelf);

    // explorer.exe is a name like any other on this desktop.
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].window, explorer.window());
    EXPECT_EQ(posted[1].window, notepad.window());
    EXPECT_EQ(posted[1].processName, "notepad.exe");
    ASSERT_TRUE(waitUntil([&] { return iconic(notepad) && iconic(explorer); }));
    EXPECT_EQ(probe.wmState(calc.window()), XCB_ICCCM_WM_STATE_NORMAL);
}

// Two windows share a title; each is judged by its own program, so only the listed one closes.
TEST_F(X11PlatformTest, CloseSweepEndsTheListedProgramEvenWhenAnotherWindowHasItsTitle) {
    auto word = start("winword.exe", "Report");
    auto notepad = start("notepad.exe", "Report");
    ASSERT_TRUE(probe.raise(notepad.window())); // a title lookup would now find notepad's window

    const auto posted =
        WindowSweep(platform.sweepPlatform(),
                    rule(SweepKind::WholeDayBlock, {"winword.exe"}, WindowCommand::Close), kSelf);

    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].window, word.window());
    const auto status = word.process().waitForExit(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_FALSE(notepad.process().hasExited());
    EXPECT_TRUE(listed(notepad.window()));
}

// A testwin plays the program. Whatever else takes on its title, its file name or its process id
// (as _NET_WM_PID, which any client can set) is acted on in a Focus session.
TEST_F(X11PlatformTest, FocusSweepSparesOnlyTheProgramsOwnProcessWhateverOthersBorrow) {
    auto self = start("tallowby", "Tallowby", {.count = 2});
    const auto selfPid = static_cast<ProcessId>(self.pid());
    std::vector<TestWindow> impostors;
    impostors.push_back(start("game", "Tallowby"));
    impostors.push_back(start("tallowby", "Notes"));
    impostors.push_back(start("game", "Claims the program's process", {.claimedPid = selfPid}));
    impostors.push_back(start("explorer.exe", "Program Manager"));
    impostors.push_back(start("game", "Game", {.setPid = false}));

    const auto posted = WindowSweep(platform.sweepPlatform(),
                                    rule(SweepKind::SessionFocus, {}, WindowCommand::Minimize), selfPid);

    std::vector<std::uint32_t> acted;
    for (const auto& p : posted) {
        acted.push_back(static_cast<std::uint32_t>(p.window));
    }
    std::ranges::sort(acted);
    std::vector<std::uint32_t> expected;
    for (const auto& impostor : impostors) {
        expected.push_back(impostor.window());
    }
    std::ranges::sort(expected);
    EXPECT_EQ(acted, expected);
    for (const auto& impostor : impostors) {
        EXPECT_TRUE(waitUntil([&] { return iconic(impostor); })) << impostor.window();
    }
    for (const std::uint32_t own : self.windows()) {
        EXPECT_EQ(probe.wmState(own), XCB_ICCCM_WM_STATE_NORMAL);
    }
}

// This test process plays the program: the testwins it starts are its children, and a testwin a
// shell of its own starts is a grandchild.
TEST_F(X11PlatformTest, SweepsSpareTheWindowsOfProcessesTheProgramStarted) {
    auto child = start("game", "Child");
    auto shell = session.start("/bin/sh",
                               {"-c", "\"$0\" \"$1\"; exit", programs.copyAs("game").string(), "Grandchild"},
                               {.environment = {}, .captureStdout = true});
    const auto line = shell.readLine(10s);
    ASSERT_TRUE(line);
    const auto grandchild = static_cast<std::uint32_t>(std::stoul(*line));
    ASSERT_TRUE(waitUntil([&] { return probe.wmState(grandchild) == XCB_ICCCM_WM_STATE_NORMAL; }));
    ASSERT_TRUE(listed(grandchild));
    EXPECT_NE(listed(grandchild)->pid, static_cast<ProcessId>(shell.pid())) << "the shell must not exec";

    const auto self = ownProcessId();
    EXPECT_TRUE(
        WindowSweep(platform.sweepPlatform(), rule(SweepKind::SessionFocus, {}, WindowCommand::Close), self)
            .empty());
    EXPECT_TRUE(WindowSweep(platform.sweepPlatform(),
                            rule(SweepKind::SessionBlock, {"game"}, WindowCommand::Close), self)
                    .empty());
    EXPECT_FALSE(child.process().hasExited());
}

TEST_F(X11PlatformTest, KillTaskManagerEndsSystemMonitorsAndNothingElse) {
    auto monitor = start("gnome-system-monitor", "System Monitor");
    auto taskmgr = start("Taskmgr.exe", "Task Manager");
    auto notepad = start("notepad.exe", "Notes");
    SignalProcessKiller killer(children); // only this test's own processes can be reached

    KillTaskManager(killer);

    for (auto* ended : {&monitor, &taskmgr}) {
        const auto status = ended->process().waitForExit(10s);
        ASSERT_TRUE(status);
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
    }
    EXPECT_FALSE(notepad.process().hasExited());
    EXPECT_TRUE(listed(notepad.window()));
}

TEST_F(X11PlatformTest, PickerLookupsTurnATitleIntoTheTopmostWindowsProgramName) {
    auto below = start("winword.exe", "Report");
    auto above = start("notepad.exe", "Report");
    ASSERT_TRUE(probe.raise(above.window()));
    const auto pid = GetProcessIDbyWindowName(platform.windows(), "Report");
    EXPECT_EQ(pid, static_cast<ProcessId>(above.pid()));
    EXPECT_EQ(GetProcessNameById(platform.processes(), pid), "notepad.exe");
    EXPECT_EQ(GetProcessIDbyWindowName(platform.windows(), "Repor"), kNoProcess);
}

TEST_F(X11PlatformTest, AListingTakesTheSameFewRoundTripsForManyWindows) {
    platform.windows().topLevelWindows(); // connects
    const auto roundTripsOfAListingOf = [&](std::size_t windows) {
        const auto before = platform.connection().roundTrips();
        EXPECT_TRUE(waitUntil([&] { return platform.windows().topLevelWindows().size() == windows; }));
        return platform.connection().roundTrips() - before;
    };
    auto few = start("calc.exe", "Few", {.setPid = false, .count = 2});
    const auto forFew = roundTripsOfAListingOf(2);
    auto many = start("calc.exe", "Many", {.setPid = false, .count = 40});
    EXPECT_EQ(roundTripsOfAListingOf(42), forFew);
    EXPECT_LE(forFew, 2u); // the client list; then the properties and the owner of every window
}

TEST_F(X11PlatformTest, ADesktopThatStaysAsItWasIsListedWithoutAskingTheServer) {
    auto window = start("notepad.exe", "Notes");
    const auto first = platform.windows().topLevelWindows();
    // Properties no listing shows change all the time; the window's program sets one now.
    probe.setText(window.window(), "_NET_WM_ICON_NAME", "Notes (icon)");
    const auto before = platform.connection().roundTrips();
    const auto again = platform.windows().topLevelWindows();
    EXPECT_EQ(platform.connection().roundTrips(), before);
    ASSERT_EQ(again.size(), first.size());
    EXPECT_EQ(again.front().title, "Notes");
}

// A listing kept from before must never hide a change: each kind of change shows at a later listing.
TEST_F(X11PlatformTest, EveryChangeAListingShowsIsSeenByTheNextListings) {
    auto notes = start("notepad.exe", "Notes");
    auto calc = start("calc.exe", "Calculator");
    const auto shows = [&](const std::function<bool(const std::vector<TopLevelWindow>&)>& seen) {
        return waitUntil([&] { return seen(platform.windows().topLevelWindows()); });
    };
    const auto topmost = [](std::uint32_t id) {
        return [id](const std::vector<TopLevelWindow>& windows) { return windows.front().id == id; };
    };
    ASSERT_TRUE(shows(topmost(calc.window())));

    auto game = start("game", "Game");
    EXPECT_TRUE(shows(topmost(game.window()))) << "a new window";
    ASSERT_TRUE(probe.raise(notes.window()));
    EXPECT_TRUE(shows(topmost(notes.window()))) << "another order";
    probe.setText(calc.window(), "_NET_WM_NAME", "Calculator - 42");
    EXPECT_TRUE(shows([&](const auto& windows) {
        return std::ranges::any_of(windows, [](const auto& w) { return w.title == "Calculator - 42"; });
    })) << "a new title";
    platform.commander().post(game.window(), WindowCommand::Close);
    EXPECT_TRUE(shows([&](const auto& windows) { return windows.size() == 2; })) << "a window closed";
}

TEST_F(X11PlatformTest, ReconnectsWhenTheConnectionBreaks) {
    auto window = start("notepad.exe", "Notes");
    ASSERT_TRUE(listed(window.window()));
    ::shutdown(xcb_get_file_descriptor(platform.connection().get()), SHUT_RDWR);

    EXPECT_TRUE(listed(window.window()));
    platform.commander().post(window.window(), WindowCommand::Minimize);
    EXPECT_TRUE(waitUntil([&] { return iconic(window); }));
}

TEST(X11UnreachableTest, AnUnreachableDisplayListsNothingAndPostsNothing) {
    X11Platform platform(":65000");
    EXPECT_TRUE(platform.windows().topLevelWindows().empty());
    platform.commander().post(1, WindowCommand::Close);
    EXPECT_TRUE(
        WindowSweep(platform.sweepPlatform(), rule(SweepKind::SessionFocus, {}, WindowCommand::Close), kSelf)
            .empty());
}

class X11WithoutWindowManagerTest : public X11PlatformTest {
  protected:
    X11WithoutWindowManagerTest() : X11PlatformTest(XSessionOptions{.windowManager = false}) {}
};

TEST_F(X11WithoutWindowManagerTest, ListsTheRootsChildrenAndTellsUnmappedWindowsApart) {
    auto hidden = start("notepad.exe", "Hidden", {.mapped = false});
    auto shown = start("calc.exe", "Shown");

    const auto windows = platform.windows().topLevelWindows();

    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].id, shown.window());
    EXPECT_TRUE(windows[0].visible);
    EXPECT_EQ(windows[1].id, hidden.window());
    EXPECT_FALSE(windows[1].visible);
}

TEST_F(X11WithoutWindowManagerTest, CloseStillReachesAProgramThatWatchesForIt) {
    auto shown = start("notepad.exe", "Shown");
    const auto posted =
        WindowSweep(platform.sweepPlatform(),
                    rule(SweepKind::SessionBlock, {"notepad.exe"}, WindowCommand::Close), kSelf);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_TRUE(shown.process().waitForExit(10s));
}

} // namespace
} // namespace tallowby::platform
