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

TEST(ExemptNames, DifferBySweep) {
    using V = std::vector<std::string>;
    EXPECT_EQ(exemptNames(SweepKind::WholeDayBlock), (V{"explorer.exe", "Tallowby.exe"}));
    EXPECT_EQ(exemptNames(SweepKind::SessionBlock), (V{"Tallowby.exe", "explorer.exe", "delphi32.exe"}));
    EXPECT_EQ(exemptNames(SweepKind::SessionFocus),
              (V{"explorer.exe", "sidebar.exe", "delphi32.exe", "Tallowby.exe"}));
}

TEST(WindowConsidered, SkipsHiddenUntitledDesktopAndOwnWindow) {
    EXPECT_TRUE(windowConsidered("Untitled - Notepad", true, "Tallowby"));
    EXPECT_FALSE(windowConsidered("Untitled - Notepad", false, "Tallowby"));
    EXPECT_FALSE(windowConsidered("", true, "Tallowby"));
    EXPECT_FALSE(windowConsidered("Program Manager", true, "Tallowby"));
    EXPECT_FALSE(windowConsidered("Tallowby", true, "Tallowby"));
    EXPECT_TRUE(windowConsidered("Tallowby ", true, "Tallowby"));
    EXPECT_TRUE(windowConsidered("program manager", true, "Tallowby"));
}

TEST(WholeDayBlockSweep, PostsOncePerMatchingItemExceptExempt) {
    const SweepRule r =
        rule(SweepKind::WholeDayBlock, {"game.exe", "explorer.exe", "game.exe", "Tallowby.exe"});
    EXPECT_EQ(commandsForWindow(r, "game.exe"), 2);
    EXPECT_EQ(commandsForWindow(r, "explorer.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, "Tallowby.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, "Game.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, "notepad.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, ""), 0);
    // delphi32.exe is spared by the session sweeps only.
    EXPECT_EQ(commandsForWindow(rule(SweepKind::WholeDayBlock, {"delphi32.exe"}), "delphi32.exe"), 1);
}

TEST(SessionBlockSweep, MatchesExactlyAndCountsDuplicates) {
    const SweepRule r = rule(SweepKind::SessionBlock, {"notepad.exe", "notepad.exe", "", ""});
    EXPECT_EQ(commandsForWindow(r, "notepad.exe"), 2);
    EXPECT_EQ(commandsForWindow(r, "Notepad.exe"), 0);
    EXPECT_EQ(commandsForWindow(r, ""), 0) << "an empty slot matches no name";
    for (const char* exempt : {"explorer.exe", "delphi32.exe", "Tallowby.exe"}) {
        EXPECT_EQ(commandsForWindow(rule(SweepKind::SessionBlock, {exempt}), exempt), 0) << exempt;
    }
    EXPECT_EQ(commandsForWindow(rule(SweepKind::SessionBlock, {"sidebar.exe"}), "sidebar.exe"), 1);
}

TEST(SessionBlockSweep, WholeDayFocusListSpares) {
    EXPECT_EQ(
        commandsForWindow(rule(SweepKind::SessionBlock, {"notepad.exe"}, {"notepad.exe"}), "notepad.exe"), 0);
    EXPECT_EQ(commandsForWindow(rule(SweepKind::SessionBlock, {"notepad.exe"}, {"calc.exe"}), "notepad.exe"),
              1);
}

TEST(SessionFocusSweep, ActsOnceOnEverythingNotListedOrExempt) {
    const SweepRule empty = rule(SweepKind::SessionFocus, {});
    EXPECT_EQ(commandsForWindow(empty, "notepad.exe"), 1);
    EXPECT_EQ(commandsForWindow(empty, ""), 1) << "a window whose program is unknown is not spared";
    for (const char* exempt : {"explorer.exe", "sidebar.exe", "delphi32.exe", "Tallowby.exe"}) {
        EXPECT_EQ(commandsForWindow(empty, exempt), 0) << exempt;
    }
    const SweepRule listed = rule(SweepKind::SessionFocus, {"code.exe", "", ""}, {"music.exe"});
    EXPECT_EQ(commandsForWindow(listed, "code.exe"), 0);
    EXPECT_EQ(commandsForWindow(listed, "music.exe"), 0);
    EXPECT_EQ(commandsForWindow(listed, "Code.exe"), 1);
    EXPECT_EQ(commandsForWindow(listed, ""), 1) << "empty slots spare nothing";
}

TEST(OwnExecutable, IsSparedBesidesTallowbyExe) {
    for (const SweepKind kind :
         {SweepKind::WholeDayBlock, SweepKind::SessionBlock, SweepKind::SessionFocus}) {
        SweepRule r = rule(kind, {"tallowby", "Tallowby.exe"});
        r.ownExecutableName = "tallowby";
        EXPECT_EQ(commandsForWindow(r, "tallowby"), 0);
        EXPECT_EQ(commandsForWindow(r, "Tallowby.exe"), 0);
        EXPECT_TRUE(isExempt(r, "tallowby"));
        EXPECT_FALSE(isExempt(r, "")) << "no own name given spares nothing more";
    }
}

} // namespace
} // namespace tallowby::engine
