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

TEST(WindowConsidered, SkipsHiddenWindowsAndUntitledOnesThatAreNoProgramWindow) {
    EXPECT_TRUE(windowConsidered("Untitled - Notepad", true, false));
    EXPECT_FALSE(windowConsidered("Untitled - Notepad", false, true));
    EXPECT_TRUE(windowConsidered("", true, true)) << "an untitled program window is still on screen";
    EXPECT_FALSE(windowConsidered("", true, false));
    EXPECT_FALSE(windowConsidered("", false, true));
    EXPECT_TRUE(windowConsidered("Program Manager", true, false));
    EXPECT_TRUE(windowConsidered("Tallowby", true, false));
}

TEST(WholeDayBlockSweep, PostsOncePerMatchingItem) {
    const SweepRule r = rule(SweepKind::WholeDayBlock, {"game.exe", "explorer.exe", "game.exe"});
    EXPECT_EQ(commandsForWindow(r, "game.exe"), 2);
    EXPECT_EQ(commandsForWindow(r, "explorer.exe"), 1);
    EXPECT_EQ(commandsForWindow(r, "GAME.exe"), 2) << "names are compared ignoring case";
    EXPECT_EQ(commandsForWindow(r, "notepad.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, ""), 0);
}

TEST(SessionBlockSweep, AnEntryNamingAnyOfTheProgramsNamesCounts) {
    const SweepRule r = rule(SweepKind::SessionBlock, {"libreoffice", "SOFFICE.BIN", "vlc", ""});
    const std::vector<std::string> writer{"soffice.bin", "libreoffice-writer", "libreoffice"};
    EXPECT_EQ(commandsForWindow(r, writer), 2) << "once per entry naming it";
    EXPECT_EQ(commandsForWindow(r, std::vector<std::string>{"mpv"}), 0);
    EXPECT_EQ(commandsForWindow(r, std::vector<std::string>{}), 0) << "an unknown program matches nothing";
    EXPECT_EQ(commandsForWindow(r, ""), 0) << "an empty entry matches no name";
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
    EXPECT_EQ(commandsForWindow(listed, "Code.exe"), 0);
    EXPECT_EQ(commandsForWindow(listed, std::vector<std::string>{"python3.11", "idle", "code.exe"}), 0)
        << "spared by any of its names";
    EXPECT_EQ(commandsForWindow(listed, "codes.exe"), 1);
    EXPECT_EQ(commandsForWindow(listed, ""), 1) << "empty slots spare nothing";
}

} // namespace
} // namespace tallowby::engine
