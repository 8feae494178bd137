#include <gtest/gtest.h>

#include "engine/sweep_rules.h"

namespace tallowby::engine {
namespace {

SweepRule rule(SweepKind kind, std::vector<std::string> names, std::vector<std::string> wholeDayFocus = {}) {
    SweepRule r;
    r.kind = kind;
    r.names = std::move(names);
    r.wholeDayFocusNames = std::move(wholeDayFocus);
    return r;
}

// Every sweep once spared a few Windows shell names, and the program's own file name, whatever ran
// under them: a game copied to one of those names escaped the rules. A name is only a name now; the
// program's own windows are spared by their process.
void expectJudgedLikeAnyName(const char* name) {
    EXPECT_EQ(commandsForWindow(rule(SweepKind::WholeDayBlock, {name}), name), 1) << name;
    EXPECT_EQ(commandsForWindow(rule(SweepKind::SessionBlock, {name}), name), 1) << name;
    EXPECT_EQ(commandsForWindow(rule(SweepKind::SessionFocus, {}), name), 1) << name;
}

TEST(ExemptNames, TheWindowsShellNamesEscapeNoSweep) {
    for (const char* name : {"explorer.exe", "sidebar.exe", "delphi32.exe"}) {
        expectJudgedLikeAnyName(name);
    }
}

TEST(OwnExecutable, ItsFileNameEscapesNoSweep) {
    for (const char* name : {"tallowby", "Tallowby.exe"}) {
        expectJudgedLikeAnyName(name);
    }
}

TEST(WindowConsidered, SkipsHiddenAndUntitledWindowsWhateverTheTitle) {
    EXPECT_TRUE(windowConsidered("Untitled - Notepad", true));
    EXPECT_FALSE(windowConsidered("Untitled - Notepad", false));
    EXPECT_FALSE(windowConsidered("", true));
    EXPECT_FALSE(windowConsidered("", false));
    EXPECT_TRUE(windowConsidered("Program Manager", true));
    EXPECT_TRUE(windowConsidered("Tallowby", true));
}

TEST(WholeDayBlockSweep, PostsOncePerMatchingItem) {
    const SweepRule r = rule(SweepKind::WholeDayBlock, {"game.exe", "explorer.exe", "game.exe"});
    EXPECT_EQ(commandsForWindow(r, "game.exe"), 2);
    EXPECT_EQ(commandsForWindow(r, "explorer.exe"), 1);
    EXPECT_EQ(commandsForWindow(r, "Game.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, "notepad.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, ""), 0);
}

TEST(SessionBlockSweep, MatchesExactlyAndCountsDuplicates) {
    const SweepRule r = rule(SweepKind::SessionBlock, {"notepad.exe", "notepad.exe", "", ""});
    EXPECT_EQ(commandsForWindow(r, "notepad.exe"), 2);
    EXPECT_EQ(commandsForWindow(r, "Notepad.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, ""), 0) << "an empty slot matches no name";
}

TEST(SessionBlockSweep, WholeDayFocusListSpares) {
    EXPECT_EQ(
        commandsForWindow(rule(SweepKind::SessionBlock, {"notepad.exe"}, {"notepad.exe"}), "notepad.exe"), 0);
    EXPECT_EQ(commandsForWindow(rule(SweepKind::SessionBlock, {"notepad.exe"}, {"calc.exe"}), "notepad.exe"),
              1);
}

TEST(SessionFocusSweep, ActsOnceOnEverythingNotListed) {
    const SweepRule empty = rule(SweepKind::SessionFocus, {});
    EXPECT_EQ(commandsForWindow(empty, "notepad.exe"), 1);
    EXPECT_EQ(commandsForWindow(empty, ""), 1) << "a window whose program is unknown is not spared";
    const SweepRule listed = rule(SweepKind::SessionFocus, {"code.exe", "", ""}, {"music.exe"});
    EXPECT_EQ(commandsForWindow(listed, "code.exe"), 0);
    EXPECT_EQ(commandsForWindow(listed, "music.exe"), 0);
    EXPECT_EQ(commandsForWindow(listed, "Code.exe"), 1);
    EXPECT_EQ(commandsForWindow(listed, ""), 1) << "empty slots spare nothing";
}

} // namespace
} // namespace tallowby::engine
