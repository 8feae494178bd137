// The window sweeps of the real program on a real desktop: which windows it minimises or closes
// under a current session and under the whole-day rules.
#include "desktop_checks.h"
#include "sandbox_desktop_test.h"
#include "support/wait_until.h"

#include <algorithm>
#include <functional>

#include <sys/wait.h>

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::TestWindow;
using testsupport::waitUntil;

// Long enough for more than one tick after the program has visibly acted.
constexpr auto kLaterTicks = 1500ms;
constexpr auto kActDeadline = 20s;

class SweepTest : public SandboxDesktopTest {
  protected:
    void SetUp() override {
        notepad.emplace(open("notepad.exe", "Notes - Notepad"));
        game.emplace(open("game.exe", "Game"));
    }

    // The rules minimise `acted` and, over the ticks after, leave every window of `spared` normal.
    void expectMinimisedSparing(std::uint32_t acted, const std::vector<std::uint32_t>& spared) {
        ASSERT_TRUE(waitUntil([&] { return iconic(acted); }, kActDeadline)) << "no window was minimised";
        EXPECT_TRUE(holdsFor([&] { return std::ranges::all_of(spared, [&](auto w) { return normal(w); }); },
                             kLaterTicks));
    }

    std::optional<TestWindow> notepad;
    std::optional<TestWindow> game;
};

TEST_F(SweepTest, FocusSessionMinimisesUnlistedProgramsAndSparesListedOnesAndItself) {
    sandbox.configure({}, {.sessions = {{"09:00", "12:00", kMondayOnly, kFocusMode, "notepad.exe;", ""}}});
    startProgram(kMonday10);
    const std::uint32_t own = programWindow();

    expectMinimisedSparing(game->window(), {notepad->window(), own});
    EXPECT_FALSE(game->process().hasExited()) << "minimising must not end the program";
}

// Another program that takes on the program's file name or its title is acted on like any other;
// the program's own windows, a pop-up included, are not.
TEST_F(SweepTest, FocusSessionActsOnBorrowedNamesAndTitlesAndSparesTheProgramsPopUp) {
    sandbox.configure({},
                      {.sessions = {{"09:00", "12:00", kMondayOnly, kFocusMode, "notepad.exe;", ""}},
                       .reminders = {"0", "10:01", "0", "0", "0", "10:01", "0", kMondayOnly, "Stretch now"}});
    const TestWindow named = open("tallowby", "Notes");
    startProgram("2026-12-07 10:00:55");
    const std::uint32_t own = programWindow();
    const TestWindow titled = open("game.exe", "Tallowby"); // once the main window is known by its title

    std::vector<std::uint32_t> popUp;
    ASSERT_TRUE(waitUntil(
        [&] {
            popUp = visibleWindowsNamed(session, "^Reminder - It's time 10:01$");
            return popUp.size() == 1;
        },
        kActDeadline))
        << "the reminder did not pop up";
    ASSERT_TRUE(waitUntil([&] { return iconic(named.window()) && iconic(titled.window()); }, kActDeadline))
        << "a program under a borrowed name or title was left alone";
    EXPECT_TRUE(holdsFor([&] { return normal(own) && normal(popUp.front()) && normal(notepad->window()); },
                         kLaterTicks));
}

// Real programs under the names users give them: IDLE by its name, whatever Python runs it as, and
// a terminal by what runs in it, even without a title; a three-letter program is acted on.
TEST_F(SweepTest, FocusSessionSparesProgramsByTheNamesUsersKnowThemBy) {
    sandbox.configure({}, {.sessions = {{"09:00", "12:00", kMondayOnly, kFocusMode, "IDLE;sleep;", ""}}});
    testsupport::ChildProcess idle = session.start("idle", {});
    testsupport::ChildProcess terminal = session.start("xterm", {"-T", "", "-e", "sleep", "600"});
    testsupport::ChildProcess tester = session.start("xev", {});
    const auto shown = [&](const std::function<std::vector<std::uint32_t>()>& find) {
        std::vector<std::uint32_t> found;
        EXPECT_TRUE(
            waitUntil([&] { return (found = find()).size() == 1 && normal(found.front()); }, kActDeadline));
        return found.empty() ? 0u : found.front();
    };
    const std::uint32_t shell = shown([&] { return visibleWindowsNamed(session, "^IDLE Shell"); });
    const std::uint32_t untitled = shown([&] { return visibleWindowsOfClass(session, "^xterm$"); });
    const std::uint32_t events = shown([&] { return visibleWindowsNamed(session, "^Event Tester$"); });
    startProgram(kMonday10);

    expectMinimisedSparing(events, {shell, untitled});
    EXPECT_TRUE(iconic(game->window()));
}

TEST_F(SweepTest, BlockSessionClosesListedProgramsAndSparesOthers) {
    sandbox.configure({.closeWindows = true},
                      {.sessions = {{"09:00", "12:00", kMondayOnly, kBlockMode, "notepad.exe;", ""}}});
    startProgram(kMonday10);
    const std::uint32_t own = programWindow();

    // The program is asked to close its window and ends by itself: it is not killed.
    const auto status = notepad->process().waitForExit(kActDeadline);
    ASSERT_TRUE(status.has_value()) << "the listed program was not closed";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_TRUE(holdsFor([&] { return normal(game->window()) && normal(own); }, kLaterTicks));
    EXPECT_FALSE(game->process().hasExited());
}

TEST_F(SweepTest, WholeDayBlockActsOutsideAnySessionOnItsDays) {
    sandbox.configure({}, {.sessions = {{"09:00", "12:00", kMondayOnly, kBlockMode, "notepad.exe;", ""}},
                           .wholeDay = {kMondayOnly, kBlockMode, "game.exe;", ""}});
    startProgram(kMonday13);

    // The session is over: its Block list no longer applies.
    expectMinimisedSparing(game->window(), {notepad->window()});
}

TEST_F(SweepTest, WholeDayBlockLeavesProgramsAloneOnOtherDays) {
    // The current session's sweep shows that the rules run; the whole-day rules are for Tuesdays.
    sandbox.configure({}, {.sessions = {{"13:00", "14:00", kMondayOnly, kBlockMode, "notepad.exe;", ""}},
                           .wholeDay = {kTuesdayOnly, kBlockMode, "game.exe;", ""}});
    startProgram(kMonday13);

    expectMinimisedSparing(notepad->window(), {game->window()});
}

} // namespace
} // namespace tallowby::e2e
