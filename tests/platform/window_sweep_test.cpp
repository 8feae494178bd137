// The window sweep on the fake platform: which windows it looks at, whose process judges each
// window, which windows it spares as the program's own, and what it posts.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/fake/fake_platform.h"
#include "platform/window_sweep.h"

namespace tallowby::platform {
namespace {

using engine::SweepKind;
using engine::SweepRule;

constexpr ProcessId kSelf = 500;

SweepRule rule(SweepKind kind, std::vector<std::string> names, std::vector<std::string> wholeDayFocus = {},
               WindowCommand command = WindowCommand::Minimize) {
    SweepRule r;
    r.kind = kind;
    r.names = std::move(names);
    r.wholeDayFocusNames = std::move(wholeDayFocus);
    r.command = command;
    return r;
}

std::vector<WindowId> windowsOf(const std::vector<PostedCommand>& posted) {
    std::vector<WindowId> ids;
    for (const auto& p : posted) {
        ids.push_back(p.window);
    }
    return ids;
}

class WindowSweepTest : public ::testing::Test {
  protected:
    // Adds a visible window owned by a new process of that name; returns the window id.
    WindowId addWindow(const std::string& title, const std::string& processName, bool visible = true) {
        const auto pid = static_cast<ProcessId>(fake.processes.size() + 1000);
        fake.processes.push_back({pid, processName});
        return addWindowOf(pid, title, visible);
    }

    // Adds a visible window of a process that is already there (or of no known process).
    WindowId addWindowOf(ProcessId pid, const std::string& title, bool visible = true) {
        const auto id = static_cast<WindowId>(fake.windows.size() + 100);
        fake.windows.push_back({id, title, visible, pid});
        return id;
    }

    std::vector<WindowId> sweep(const SweepRule& r, ProcessId self = kSelf) {
        return windowsOf(WindowSweep(fake.sweepPlatform(), r, self));
    }

    FakePlatform fake;
};

// Titles and file names are anyone's to copy: the desktop's Windows title, the program's own
// caption and the Windows shell's file names once spared whatever ran under them.
TEST_F(WindowSweepTest, FocusWithEmptyListActsOnEveryConsideredWindowButTheProgramsOwn) {
    fake.processes.push_back({kSelf, "tallowby"});
    addWindowOf(kSelf, "Tallowby");
    addWindowOf(kSelf, "Reminder - It's time 10:01");
    addWindow("Hidden", "notepad.exe", false);
    addWindow("", "menu");
    fake.windows.back().normalOrDialog = false;
    const std::vector<WindowId> acted{
        addWindow("", "xterm"),
        addWindow("Untitled - Notepad", "notepad.exe"),
        addWindow("Program Manager", "notepad.exe"),
        addWindow("Tallowby", "notepad.exe"),
        addWindow("Files", "explorer.exe"),
        addWindow("Gadgets", "sidebar.exe"),
        addWindow("IDE", "delphi32.exe"),
        addWindow("Pop-up", "Tallowby.exe"),
        addWindow("Reminder", "tallowby"),
        addWindow("Calculator", "calc.exe"),
    };

    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {})), acted);
}

TEST_F(WindowSweepTest, SparesTheWindowsOfEveryProcessTheProgramStarted) {
    const auto own = addWindowOf(kSelf, "Tallowby");
    fake.processes.push_back({501, "game"});
    fake.processes.push_back({502, "game"});
    const auto child = addWindowOf(501, "Help");
    const auto grandchild = addWindowOf(502, "Help viewer");
    const auto stranger = addWindow("Game", "game");
    const ProcessId strangerPid = fake.windows.back().pid;
    const auto strangersChild = addWindow("Game too", "game");
    fake.parents = {
        {kSelf, 1}, {501, kSelf}, {502, 501}, {strangerPid, 1}, {fake.windows.back().pid, strangerPid}};

    for (const SweepRule& r : {rule(SweepKind::SessionFocus, {}), rule(SweepKind::SessionBlock, {"game"}),
                               rule(SweepKind::WholeDayBlock, {"game"})}) {
        EXPECT_EQ(sweep(r), (std::vector{stranger, strangersChild}));
    }
    // Another program's process tree is judged by its names alone.
    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {}), strangerPid), (std::vector{own, child, grandchild}));
}

TEST_F(WindowSweepTest, PostsAsManyCommandsAsTheRuleAsksFor) {
    const auto notepad = addWindow("Notepad", "notepad.exe");
    const auto capitals = addWindow("Notepad too", "Notepad.exe");
    EXPECT_EQ(sweep(rule(SweepKind::SessionBlock, {"notepad.exe", "calc.exe", "notepad.exe"})),
              (std::vector{notepad, notepad, capitals, capitals}));
    EXPECT_EQ(fake.posts.size(), 4u);
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

// Both sweeps of a tick run on one listing, and a window's process is named when the window is
// first seen: a tick with nothing new reads no process at all.
TEST_F(WindowSweepTest, ATicksSweepsShareOneListingAndNamesAreReadOncePerWindow) {
    for (int i = 0; i < 30; ++i) {
        addWindow("Window " + std::to_string(i), "calc.exe");
    }
    const auto tick = [&] {
        TickSweeps sweeps(fake.sweepPlatform(), kSelf);
        sweeps.sweep(rule(SweepKind::WholeDayBlock, {"game.exe"}));
        sweeps.sweep(rule(SweepKind::SessionFocus, {"calc.exe"}));
    };
    tick();
    EXPECT_EQ(fake.windowListings, 1);
    EXPECT_EQ(fake.nameReads, 30);
    tick();
    EXPECT_EQ(fake.windowListings, 2);
    EXPECT_EQ(fake.nameReads, 30);
    EXPECT_EQ(fake.snapshots, 0);
    EXPECT_TRUE(fake.posts.empty());

    fake.windows.resize(10);
    tick();
    EXPECT_EQ(fake.sweepPlatform().owners.size(), 10u) << "closed windows are forgotten";
}

// A process that runs another program under its old process id, or a new process that got an
// ended one's id, shows its windows as new windows: they are judged by the name the process has now.
TEST_F(WindowSweepTest, ANewWindowOfAKnownProcessIsJudgedByTheProcessesNameNow) {
    const auto launcher = addWindow("Launcher", "launcher");
    const ProcessId pid = fake.windows.back().pid;
    EXPECT_TRUE(sweep(rule(SweepKind::SessionBlock, {"game"})).empty());

    fake.processes.back().name = "game";
    const auto game = addWindowOf(pid, "Game");
    EXPECT_EQ(sweep(rule(SweepKind::SessionBlock, {"game"})), (std::vector{game}));
    EXPECT_EQ(sweep(rule(SweepKind::SessionBlock, {"launcher"})), (std::vector{launcher}));
}

TEST_F(WindowSweepTest, ASweepAfterAPopUpListsTheWindowsAgain) {
    TickSweeps sweeps(fake.sweepPlatform(), kSelf);
    sweeps.sweep(rule(SweepKind::SessionFocus, {}));
    const auto opened = addWindow("Opened meanwhile", "calc.exe");
    EXPECT_TRUE(windowsOf(sweeps.sweep(rule(SweepKind::SessionFocus, {}))).empty());
    sweeps.forgetWindows();
    EXPECT_EQ(windowsOf(sweeps.sweep(rule(SweepKind::SessionFocus, {}))), (std::vector{opened}));
    EXPECT_EQ(fake.windowListings, 2);
}

TEST_F(WindowSweepTest, AnUnknownOwnProcessSparesNothingExtra) {
    const auto unknown = addWindowOf(kNoProcess, "Untitled");
    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {}), kNoProcess), (std::vector{unknown}));
}

TEST_F(WindowSweepTest, TheProgramsCaptionSparesNoWindow) {
    const auto oldCaption = addWindow("Tallowby", "calc.exe");
    const auto caption = addWindow("Tallowby - running", "calc.exe");
    EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {})), (std::vector{oldCaption, caption}));
}

// Each window answers to the names its program is known by, whichever of them the user listed.
TEST_F(WindowSweepTest, AWindowAnswersToEveryNameItsProgramIsKnownBy) {
    fake.entries = {{.id = "libreoffice-writer",
                     .name = "LibreOffice Writer",
                     .program = "libreoffice",
                     .startupWmClass = "libreoffice-writer"},
                    {.id = "org.gnome.Terminal", .program = "gnome-terminal", .terminalEmulator = true},
                    {.id = "idle", .program = "idle"},
                    {.id = "firefox-esr", .program = "firefox-esr"}};
    const auto writer = addWindow("Untitled 1 - LibreOffice Writer", "soffice.bin");
    fake.windows.back().instanceName = "libreoffice";
    fake.windows.back().className = "libreoffice-writer";
    const auto idle = addWindow("IDLE Shell 3.11.2", "python3.11");
    fake.windows.back().className = "Idle";
    fake.commandLines[fake.windows.back().pid] = {"/usr/bin/python3", "-q", "/usr/bin/idle"};
    const auto tkScript = addWindow("Tk", "python3.11");
    fake.commandLines[fake.windows.back().pid] = {"python3", "/home/me/snake.py"};
    const auto terminal = addWindow("me@desk: ~", "gnome-terminal-server");
    fake.windows.back().applicationId = "org.gnome.Terminal";
    const ProcessId terminalPid = fake.windows.back().pid;
    fake.processes.push_back({900, "bash"});
    fake.processes.push_back({901, "nethack"});
    fake.parents = {{900, terminalPid}, {901, 900}};
    const auto browser = addWindow("Mozilla Firefox", "firefox-esr");
    const auto player = addWindow("mpv", "mpv");

    const std::vector<std::pair<std::string, std::vector<WindowId>>> cases{
        {"SOFFICE.BIN", {writer}},
        {"soffice", {writer}},
        {"libreoffice", {writer}},
        {"libreoffice-writer", {writer}},
        {"idle", {idle}},
        {"snake.py", {tkScript}},
        {"snake", {tkScript}},
        {"python3", {idle, tkScript}},
        {"gnome-terminal", {terminal}},
        {"org.gnome.terminal", {terminal}},
        {"nethack", {terminal}},
        {"Firefox-ESR", {browser}},
        {"mpv", {player}},
        {"firefox", {}},
    };
    for (const auto& [name, blocked] : cases) {
        EXPECT_EQ(sweep(rule(SweepKind::SessionBlock, {name})), blocked) << name;
        std::vector<WindowId> others;
        for (const WindowId w : {writer, idle, tkScript, terminal, browser, player}) {
            if (std::ranges::find(blocked, w) == blocked.end()) {
                others.push_back(w);
            }
        }
        EXPECT_EQ(sweep(rule(SweepKind::SessionFocus, {name})), others) << name;
    }

    // The game ends: the terminal answers to it no longer.
    fake.parents.erase(901);
    EXPECT_TRUE(sweep(rule(SweepKind::SessionBlock, {"nethack"})).empty());
}

// A program asked to close may ask "Save changes?" first. It is asked once, given time to answer,
// and then minimised, its question included, instead of being asked again every second.
TEST_F(WindowSweepTest, CloseAsksAProgramOnceAndThenMinimisesWhatStays) {
    const auto document = addWindow("Report - Writer", "soffice.bin");
    const ProcessId writerPid = fake.windows.back().pid;
    const auto other = addWindow("Other - Writer", "soffice.bin");
    const SweepRule close = rule(SweepKind::WholeDayBlock, {"soffice.bin"}, {}, WindowCommand::Close);
    const auto tick = [&] {
        fake.posts.clear();
        TickSweeps(fake.sweepPlatform(), kSelf).sweep(close);
        return fake.posts;
    };
    EXPECT_EQ(tick(),
              (std::vector<FakePost>{{document, WindowCommand::Close}, {other, WindowCommand::Close}}));
    const auto question = addWindowOf(writerPid, "Save Document?");
    for (int i = 1; i < WindowOwners::kTicksToAnswerClose; ++i) {
        EXPECT_TRUE(tick().empty()) << "the program has time to answer";
    }
    const std::vector<FakePost> minimised{{document, WindowCommand::Minimize},
                                          {other, WindowCommand::Minimize},
                                          {question, WindowCommand::Minimize}};
    EXPECT_EQ(tick(), minimised);
    EXPECT_EQ(tick(), minimised);

    // Once the program is gone, a new start of it is asked again.
    fake.windows.clear();
    tick();
    const auto restarted = addWindow("Report - Writer", "soffice.bin");
    EXPECT_EQ(tick(), (std::vector<FakePost>{{restarted, WindowCommand::Close}}));
}

} // namespace
} // namespace tallowby::platform
