// The window sweep on the fake platform: which windows it looks at, whose process judges each
// window, and what it posts.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "platform/window_sweep.h"

namespace tallowby::platform {
namespace {

using engine::SweepKind;
using engine::SweepRule;

const OwnProgram kSelf{"Tallowby", "tallowby"};

SweepRule rule(SweepKind kind, std::vector<std::string> names, std::vector<std::string> wholeDayFocus = {},
               WindowCommand command = WindowCommand::Minimize) {
    SweepRule r;
    r.kind = kind;
    r.names = std::move(names);
    r.wholeDayFocusNames = std::move(wholeDayFocus);
    r.command = command;
    return r;
}

class WindowSweepTest : public ::testing::Test {
  protected:
    // Adds a visible window owned by a new process of that name; returns the window id.
    WindowId addWindow(const std::string& title, const std::string& processName, bool visible = true) {
        const auto id = static_cast<WindowId>(fake.windows.size() + 100);
        const auto pid = static_cast<ProcessId>(fake.processes.size() + 1000);
        fake.processes.push_back({pid, processName});
        fake.windows.push_back({id, title, visible, pid});
        return id;
    }

    std::vector<WindowId> sweep(const SweepRule& r, const OwnProgram& self = kSelf) {
        const auto posted = WindowSweep(fake.sweepPlatform(), r, self);
        std::vector<WindowId> ids;
        for (const auto& p : posted) {
            ids.push_back(p.window);
        }
        return ids;
    }

    FakePlatform fake;
};

TEST_F(WindowSweepTest, FocusWithEmptyListActsOnEveryConsideredWindowExceptExemptOnes) {
    const auto notepad = addWindow("Untitled - Notepad", "notepad.exe");
    addWindow("Program Manager", "notepad.exe");
    addWindow("Tallowby", "notepad.exe"); // the main window's caption, whatever its owner
    addWindow("", "notepad.exe");
    addWindow("Hidden", "notepad.exe", false);
    addWindow("Files", "explorer.exe");
    addWindow("Gadgets", "sidebar.exe");
    addWindow("IDE", "delphi32.exe");
    addWindow("Pop-up", "Tallowby.exe");
    addWindow("Reminder", "tallowby"); // the program's own pop-up, under its own executable name
    const auto calc = addWindow("Calculator", "calc.exe");

    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {})), (std::vector{notepad, calc}));
}

TEST_F(WindowSweepTest, PostsAsManyCommandsAsTheRuleAsksFor) {
    const auto notepad = addWindow("Notepad", "notepad.exe");
    addWindow("Notepad too", "Notepad.exe");
    EXPECT_EQ(sweep(rule(SweepKind::SessionBlock, {"notepad.exe", "calc.exe", "notepad.exe"})),
              (std::vector{notepad, notepad}));
    EXPECT_EQ(fake.posts.size(), 2u);
}

TEST_F(WindowSweepTest, PostsTheRulesCommandInZOrder) {
    const auto top = addWindow("One", "calc.exe");
    const auto below = addWindow("Two", "calc.exe");
    const auto posted = WindowSweep(
        fake.sweepPlatform(), rule(SweepKind::WholeDayBlock, {"calc.exe"}, {}, WindowCommand::Close), kSelf);
    const std::vector<FakePost> expected{{top, WindowCommand::Close}, {below, WindowCommand::Close}};
    EXPECT_EQ(fake.posts, expected);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0], (PostedCommand{top, fake.windows[0].pid, "calc.exe", WindowCommand::Close}));
}

// The lookup went through the title, so a window titled like another program's window was judged
// as that program. Each window is judged by its own process.
TEST_F(WindowSweepTest, WindowsWithTheSameTitleAreJudgedByTheirOwnProcess) {
    const auto notepad = addWindow("Report", "notepad.exe");
    const auto word = addWindow("Report", "winword.exe");
    EXPECT_EQ(sweep(rule(SweepKind::SessionBlock, {"winword.exe"})), (std::vector{word}));
    EXPECT_EQ(sweep(rule(SweepKind::SessionBlock, {"notepad.exe"})), (std::vector{notepad}));
    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {"notepad.exe"})), (std::vector{word}));
}

TEST_F(WindowSweepTest, WindowWhoseProcessIsUnknownMatchesNothing) {
    fake.windows.push_back({7, "Gone", true, 4242}); // its process already ended
    fake.windows.push_back({8, "Remote", true, kNoProcess});
    EXPECT_TRUE(sweep(rule(SweepKind::SessionBlock, {""})).empty());
    EXPECT_TRUE(sweep(rule(SweepKind::WholeDayBlock, {"notepad.exe"})).empty());
    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {})), (std::vector<WindowId>{7, 8}));
}

TEST_F(WindowSweepTest, TakesOneWindowListAndOneSnapshotPerSweep) {
    for (int i = 0; i < 30; ++i) {
        addWindow("Window " + std::to_string(i), "calc.exe");
    }
    sweep(rule(SweepKind::SessionFocus, {}));
    EXPECT_EQ(fake.windowListings, 1);
    EXPECT_EQ(fake.snapshots, 1);
}

TEST_F(WindowSweepTest, AnUnknownOwnExecutableSparesNothingExtra) {
    const auto unknown = addWindow("Untitled", "");
    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {}), OwnProgram{"Tallowby", ""}), (std::vector{unknown}));
}

TEST_F(WindowSweepTest, OwnCaptionFollowsTheMainWindow) {
    const auto oldCaption = addWindow("Tallowby", "calc.exe");
    addWindow("Tallowby - running", "calc.exe");
    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {}), OwnProgram{"Tallowby - running", "tallowby"}),
              (std::vector{oldCaption}));
}

} // namespace
} // namespace tallowby::platform
