// Where names on a search path of the test's own lead: links as the alternatives system makes
// them, launcher scripts of the shapes Debian's packages ship (a case choosing the program,
// variables inside variables, exec env, an interpreter and its script), the installed
// applications that run one of them, and what cannot be followed.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/linux/path_launchers.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class Installed : public DesktopEntries {
  public:
    const std::vector<DesktopEntry>& applications() override { return entries; }
    int readings() const override { return readings_; }
    void change(std::vector<DesktopEntry> now) {
        entries = std::move(now);
        ++readings_;
    }
    std::vector<DesktopEntry> entries;

  private:
    int readings_ = 0;
};

class PathLaunchersTest : public testing::Test {
  protected:
    PathLaunchersTest() {
        fs::create_directories(bin);
        fs::create_directories(alternatives);
    }
    void program(const std::string& name, const std::string& text = "\x7f"
                                                                    "ELF") {
        testsupport::writeFile(bin / name, text);
        fs::permissions(bin / name, fs::perms::owner_all);
    }

    testsupport::TempFolder temp;
    const fs::path bin = temp / "bin";
    const fs::path alternatives = temp / "alternatives";
    Installed installed;
    PathLaunchers launchers{{bin}, &installed};
};

TEST_F(PathLaunchersTest, FollowsLinksAndLauncherScriptsToTheProgramThatRuns) {
    program("tool");
    program("game-console");
    program("gnome-terminal");
    fs::create_symlink(bin / "tool", alternatives / "editor");
    fs::create_symlink("../alternatives/editor", bin / "editor");
    program("chooser", "#!/bin/sh\ncase \"$LANG\" in\n  *UTF-8*)\n    PROG=tool\n    ;;\n"
                       "  *) PROG=other ;;\nesac\nexec \"$PROG\" \"$@\"\n");
    program("nested", "#!/bin/sh\nset -e\nDIR=" + bin.string() +
                          "\nSTYLE=console\nexport DIR\nHACK=$DIR/game-$STYLE\ncd $DIR\nexec $HACK \"$@\"\n");
    program("defaulted", "#!/bin/sh\n: \"${TOOL_PROGRAM=tool}\"\nexec \"$TOOL_PROGRAM\" -x\n");
    program("with-env", "#!/bin/sh -e\nif [ -n \"$X\" ]; then exec env A=1 ${T:-tool} --x; fi\n");
    program("py-launcher", "#!/bin/sh\nexec python3 -u /usr/share/snake/snake.py \"$@\"\n");
    program("script.py", "#!/usr/bin/env python3\nprint(1)\n");
    program("terminal", "#!/bin/sh\nexec gnome-terminal \"$@\"\n");
    program("gnome-terminal.wrapper", "#!/usr/bin/perl -w\nexec('gnome-terminal', @args);\n");
    fs::create_symlink(bin / "uxterm-like", alternatives / "x-terminal-emulator");
    fs::create_symlink(alternatives / "x-terminal-emulator", bin / "x-terminal-emulator");
    program("uxterm-like", "#!/bin/sh\nexec tool -class UXTerm \"$@\"\n");
    program("runs", "#!/bin/sh\ntool \"$@\"\n");
    program("outside", "#!/bin/sh\nexec \"$HOME/prog\"\n");
    program("output", "#!/bin/sh\nexec >/dev/null 2>&1\ntool\n");
    program("loop-a", "#!/bin/sh\nexec loop-b\n");
    program("loop-b", "#!/bin/sh\nexec loop-a\n");
    const struct {
        const char* name;
        Names names;
        bool followed;
        const char* owner; // the program that ends up with the windows
    } cases[] = {
        {"tool", {"tool"}, true, "tool"},
        {"TOOL", {"TOOL"}, true, "tool"}, // as a person types it; "tool" is the same name
        {"editor", {"editor", "tool"}, true, "tool"},
        {"chooser", {"chooser", "tool"}, true, "tool"},
        {"nested", {"nested", "game-console"}, true, "game-console"},
        {"defaulted", {"defaulted", "tool"}, true, "tool"},
        {"with-env", {"with-env", "tool"}, true, "tool"},
        {"py-launcher", {"py-launcher", "snake.py", "snake"}, true, "snake.py"},
        {"script.py", {"script.py", "script"}, true, "script.py"},
        {"terminal", {"terminal", "gnome-terminal", "gnome-terminal-server"}, true, "gnome-terminal-server"},
        {"gnome-terminal.wrapper",
         {"gnome-terminal.wrapper", "gnome-terminal", "gnome-terminal-server"},
         true,
         "gnome-terminal-server"},
        {"x-terminal-emulator", {"x-terminal-emulator", "uxterm-like", "tool"}, true, "tool"},
        {"runs", {"runs"}, false, "runs"},
        {"outside", {"outside"}, false, "outside"},
        {"output", {"output"}, false, "output"},
        {"loop-a", {"loop-a", "loop-b"}, false, "loop-a"},
        {"Image Viewer", {"Image Viewer"}, false, ""},
        {"../bin/tool", {"../bin/tool"}, false, ""},
    };
    for (const auto& [name, names, followed, owner] : cases) {
        const ProgramReach reach = launchers.reachOf(name);
        EXPECT_EQ(reach.names, names) << name;
        EXPECT_EQ(reach.followed, followed) << name;
        EXPECT_EQ(reach.owner, owner) << name;
    }
    const ProgramReach browsed = launchers.reachOfFile(bin / "editor");
    EXPECT_EQ(browsed.names, (Names{"editor", "tool"}));
    EXPECT_EQ(browsed.files, std::vector<fs::path>{fs::canonical(bin / "tool")});
}

// A suite's launcher runs a script that cannot be followed, but the menu's entries run it: the
// windows of those entries answer to their program.
TEST_F(PathLaunchersTest, ALauncherOfAnInstalledApplicationReachesItsWindows) {
    program("suite", "#!/bin/sh\nexec \"$(dirname \"$0\")/oosplash\" \"$@\"\n");
    fs::create_symlink(bin / "suite", bin / "office");
    program("suite-writer", "#!/bin/sh\nexec " + (bin / "suite").string() + " --writer \"$@\"\n");
    EXPECT_FALSE(launchers.reachOf("suite-writer").followed);
    installed.change(
        {{.id = "office-writer", .name = "Office Writer", .program = "office", .programPath = "office"}});
    const ProgramReach reach = launchers.reachOf("suite-writer");
    EXPECT_EQ(reach.names, (Names{"suite-writer", "suite", "office"}));
    EXPECT_TRUE(reach.followed);
}

TEST_F(PathLaunchersTest, KeptUntilAFolderOnTheWayChanges) {
    program("tool");
    program("other");
    fs::create_symlink(bin / "tool", alternatives / "editor");
    fs::create_symlink(alternatives / "editor", bin / "editor");
    for (const fs::path& folder : {bin, alternatives})
        fs::last_write_time(folder, fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(launchers.reachOf("editor").names, (Names{"editor", "tool"}));
    EXPECT_EQ(launchers.reachOf("editor").names, (Names{"editor", "tool"}));
    EXPECT_EQ(launchers.followings(), 1) << "the second look is kept";
    // The alternative switched, as update-alternatives does it: a new link renamed over the old.
    fs::create_symlink(bin / "other", alternatives / "editor.new");
    fs::rename(alternatives / "editor.new", alternatives / "editor");
    EXPECT_EQ(launchers.reachOf("editor").names, (Names{"editor", "other"}));
    EXPECT_EQ(launchers.followings(), 2);
}

// Where launchers are not followed (Windows), a program file on the search path is the program.
TEST_F(PathLaunchersTest, WithoutFollowingAProgramFileOnTheSearchPathIsTheProgram) {
    program("tool");
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", ("relative:" + bin.string()).c_str(), 1);
    const ProgramReach tool = programOnSearchPath("tool");
    const ProgramReach missing = programOnSearchPath("missing");
    const ProgramReach pathLike = programOnSearchPath("../bin/tool");
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(tool.followed);
    EXPECT_EQ(tool.files, std::vector<fs::path>{bin / "tool"});
    EXPECT_FALSE(missing.followed);
    EXPECT_EQ(missing.names, Names{"missing"});
    EXPECT_FALSE(pathLike.followed);
}

} // namespace
} // namespace tallowby::platform
