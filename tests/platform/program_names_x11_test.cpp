// Programs as users name them, against real programs from Debian's packages on a private Xvfb with
// openbox: a terminal and what runs in it, a launcher script that runs an interpreter, a script
// run by Python, a program with a three-letter name, and an application known by its desktop entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/linux/xdg_desktop_entries.h"
#include "platform/x11/x11_platform.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "support/x_session.h"

namespace tallowby::platform {
namespace {

using namespace std::chrono_literals;
using engine::SweepKind;
using engine::SweepRule;
using testsupport::ChildProcess;
using testsupport::waitUntil;

constexpr char kTkScript[] = R"(import tkinter
root = tkinter.Tk()
root.title("Snake")
root.mainloop()
)";

// Asks before it closes, as an editor with unsaved text does.
constexpr char kAskingEditor[] = R"(import tkinter
root = tkinter.Tk()
root.title("Report - Editor")
def ask():
    question = tkinter.Toplevel(root)
    question.title("Save changes?")
    question.transient(root)
root.protocol("WM_DELETE_WINDOW", ask)
root.mainloop()
)";

constexpr char kEventTesterEntry[] = R"([Desktop Entry]
Type=Application
Name=Event Tester
Exec=env LANG=C xev -geometry 300x200
)";

class ProgramNamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(data.path() / "applications");
        std::ofstream(data.path() / "applications" / "org.example.EventTester.desktop") << kEventTesterEntry;
        std::ofstream(data.path() / "snake.py") << kTkScript;
        std::ofstream(data.path() / "editor.py") << kAskingEditor;
    }

    // Starts the program and waits for its window; the window's id, 0 when none came.
    WindowId start(const std::string& program, const std::vector<std::string>& args) {
        ChildProcess& child = children.emplace_back(session.start(program, args));
        const auto pid = static_cast<ProcessId>(child.pid());
        WindowId id = 0;
        waitUntil(
            [&] {
                for (const auto& window : platform.windows().topLevelWindows()) {
                    if (window.pid == pid && window.visible) {
                        id = window.id;
                    }
                }
                return id != 0;
            },
            30s);
        EXPECT_NE(id, 0u) << program << " showed no window";
        return id;
    }

    std::vector<WindowId> swept(SweepKind kind, const std::string& name) {
        SweepRule rule;
        rule.kind = kind;
        rule.names = {name};
        std::vector<WindowId> ids;
        for (const auto& posted : WindowSweep(platform.sweepPlatform(), rule, kNoProcess)) {
            ids.push_back(posted.window);
        }
        std::ranges::sort(ids);
        return ids;
    }

    testsupport::TempFolder data;
    testsupport::XSession session;
    // The test's own entry first, then the real ones of the packages installed for the tests.
    XdgDesktopEntries entries{{data.path(), "/usr/share"}};
    x11::X11Platform platform{session.display(), &entries};
    std::vector<ChildProcess> children;
};

TEST_F(ProgramNamesTest, BlockAndFocusReachEveryProgramByEachOfItsNames) {
    const WindowId terminal = start("xterm", {"-T", "", "-e", "sleep", "600"});
    const WindowId idle = start("idle", {});
    const WindowId snake = start("python3", {(data.path() / "snake.py").string()});
    const WindowId tester = start("env", {"LANG=C", "xev"});
    std::vector<WindowId> all{terminal, idle, snake, tester};
    std::ranges::sort(all);

    const std::vector<std::pair<std::string, std::vector<WindowId>>> cases{
        {"XTerm", {terminal}},        // the class; an untitled window too
        {"debian-xterm", {terminal}}, // its desktop entry
        {"sleep", {terminal}},        // what runs in it
        {"idle", {idle}},             // a launcher script run by Python, and its desktop entry
        {"snake.py", {snake}},        // a script run by Python
        {"Snake", {snake}},
        {"xev", {tester}},                     // three letters
        {"org.example.EventTester", {tester}}, // an entry found by the program it runs
        {"firefox", {}},
    };
    for (const auto& [name, named] : cases) {
        EXPECT_EQ(swept(SweepKind::SessionBlock, name), named) << name;
        std::vector<WindowId> others;
        std::ranges::set_difference(all, named, std::back_inserter(others));
        EXPECT_EQ(swept(SweepKind::SessionFocus, name), others) << name;
    }
    EXPECT_EQ(swept(SweepKind::SessionBlock, "python3"),
              (std::vector<WindowId>{std::min(idle, snake), std::max(idle, snake)}));
}

// The names a person takes from the menu or the screen: menu names typed in their own case and
// spacing, launchers on the search path (a link through the alternatives system, Debian's nethack
// script, uxterm's script, a script of the test's own), each reaching the windows of the program
// it ends up running, in Block, and sparing them in Focus.
TEST_F(ProgramNamesTest, MenuNamesAndLaunchersReachTheWindowsOfTheProgramTheyStart) {
    std::ofstream(data.path() / "tester") << "#!/bin/sh\nTOOL=xev\nexec env LANG=C \"$TOOL\" \"$@\"\n";
    std::filesystem::permissions(data.path() / "tester", std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (data.path().string() + ":/usr/bin:/bin:/usr/games").c_str(), 1);
    x11::X11Platform followed{session.display(), &entries};
    setenv("PATH", path.c_str(), 1);
    const WindowId game = start("xterm", {"-T", "", "-e", "/usr/games/nethack"});
    const WindowId terminal = start("uxterm", {"-e", "sleep", "600"});
    const WindowId tester = start((data.path() / "tester").string(), {});
    const WindowId viewer = start("display", {"-size", "160x120", "xc:white"});
    std::vector<WindowId> all{game, terminal, tester, viewer};
    std::ranges::sort(all);
    const auto sorted = [](std::vector<WindowId> ids) {
        std::ranges::sort(ids);
        return ids;
    };
    const std::vector<std::pair<std::string, std::vector<WindowId>>> cases{
        {"nethack", {game}},                  // link, alternatives link, script, exec $HACK
        {"nethack-console", {game}},          // the program itself
        {"uxterm", sorted({game, terminal})}, // a launcher script: xterm owns both windows
        {"UXTerm", sorted({game, terminal})}, // its menu name, the same
        {"event tester", {tester}},           // a menu name as a person types it
        {"EventTester", {tester}},
        {"tester", {tester}}, // a script of the test's own, exec env "$TOOL"
        {"firefox", {}},
    };
    for (const auto& [name, named] : cases) {
        SweepRule rule;
        rule.names = {name};
        for (const SweepKind kind : {SweepKind::SessionBlock, SweepKind::SessionFocus}) {
            rule.kind = kind;
            std::vector<WindowId> ids;
            for (const auto& posted : WindowSweep(followed.sweepPlatform(), rule, kNoProcess))
                ids.push_back(posted.window);
            std::ranges::sort(ids);
            std::vector<WindowId> expected = named;
            if (kind == SweepKind::SessionFocus) {
                expected.clear();
                std::ranges::set_difference(all, named, std::back_inserter(expected));
            }
            EXPECT_EQ(ids, expected) << name << (kind == SweepKind::SessionFocus ? " in Focus" : " in Block");
        }
    }
}

TEST_F(ProgramNamesTest, AProgramThatAsksBeforeClosingIsAskedOnceThenMinimised) {
    const WindowId editor = start("python3", {(data.path() / "editor.py").string()});
    SweepRule close;
    close.kind = SweepKind::WholeDayBlock;
    close.names = {"editor"};
    close.command = WindowCommand::Close;
    std::vector<std::vector<PostedCommand>> ticks;
    const auto questions = [&] {
        const auto windows = platform.windows().topLevelWindows();
        return std::ranges::count(windows, std::string("Save changes?"), &TopLevelWindow::title);
    };
    long mostQuestions = 0;
    for (int tick = 0; tick < WindowOwners::kTicksToAnswerClose + 2; ++tick) {
        ticks.push_back(TickSweeps(platform.sweepPlatform(), kNoProcess).sweep(close));
        if (tick == 0) {
            ASSERT_TRUE(waitUntil([&] { return questions() == 1; })) << "the editor did not ask";
        }
        mostQuestions = std::max(mostQuestions, static_cast<long>(questions()));
    }
    EXPECT_EQ(mostQuestions, 1) << "asked once";
    ASSERT_EQ(ticks.front().size(), 1u);
    EXPECT_EQ(ticks.front().front().window, editor);
    EXPECT_EQ(ticks.front().front().command, WindowCommand::Close);
    for (int tick = 1; tick < WindowOwners::kTicksToAnswerClose; ++tick) {
        EXPECT_TRUE(ticks[tick].empty()) << "tick " << tick;
    }
    // Tk withdraws a question whose window was minimised, so only the editor is sure to be there.
    for (std::size_t tick = WindowOwners::kTicksToAnswerClose; tick < ticks.size(); ++tick) {
        EXPECT_TRUE(
            std::ranges::any_of(ticks[tick], [&](const PostedCommand& p) { return p.window == editor; }));
        for (const PostedCommand& posted : ticks[tick]) {
            EXPECT_EQ(posted.command, WindowCommand::Minimize) << "tick " << tick;
        }
    }
}

TEST_F(ProgramNamesTest, ThePickerRecordsTheApplicationOrTheExecutable) {
    const WindowId terminal = start("xterm", {"-T", "Shell"});
    const WindowId tester = start("xev", {});
    for (const auto& window : platform.windows().topLevelWindows()) {
        const ProgramNames names = platform.programNamer().namesOf(window);
        if (window.id == terminal) {
            EXPECT_EQ(names.recorded(), "debian-xterm");
        } else if (window.id == tester) {
            EXPECT_EQ(names.recorded(), "org.example.EventTester");
            EXPECT_EQ(names.executable, "xev");
        }
    }
}

} // namespace
} // namespace tallowby::platform
