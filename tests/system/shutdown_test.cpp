#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <vector>

#include "platform/linux/system_shutdown.h"
#include "platform/logged_shutdown.h"
#include "platform/system/system_operations.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

using test::readFile;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(LoggedShutdown, AppendsOneTimestampedCommandLinePerCall) {
    test::TempFolder temp;
    const std::filesystem::path log = temp / "shutdown.log";
    test::writeFile(log, "2026-01-01 00:00:00 earlier line\n");
    LoggedShutdown shutdown(log);

    ASSERT_TRUE(shutdown.start());
    ASSERT_TRUE(shutdown.start());
    ASSERT_TRUE(shutdown.cancel());

    const std::string text = readFile(log);
    ASSERT_EQ(text.back(), '\n');
    const std::vector<std::string> lines = linesOf(text);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "2026-01-01 00:00:00 earlier line");
    const std::regex started(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d shutdown -P \+1)");
    EXPECT_TRUE(std::regex_match(lines[1], started)) << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], started)) << lines[2];
    EXPECT_TRUE(std::regex_match(lines[3], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d shutdown -c)")))
        << lines[3];
}

TEST(LoggedShutdown, AnUnwritableLogIsReportedWithoutThrowing) {
    test::TempFolder temp;
    std::filesystem::create_directories(temp / "shutdown.log");
    EXPECT_FALSE(LoggedShutdown(temp / "shutdown.log").start());
    EXPECT_FALSE(LoggedShutdown(temp / "shutdown.log").cancel());
}

// A stand-in for the shutdown program that answers a cancel only once the waiting side has run:
// a cancel that held its caller's thread until the answer would never get it.
TEST(SystemShutdown, ACancelKeepsTheCallersThreadGoingUntilItsAnswer) {
    test::TempFolder temp;
    const std::filesystem::path program = temp / "shutdown";
    const std::filesystem::path go = temp / "go";
    for (const auto& [answer, taken] : {std::pair{0, true}, std::pair{1, false}}) {
        std::filesystem::remove(go);
        test::writeFile(program, "#!/bin/sh\n[ \"$1\" = -c ] || exit 9\nwhile [ ! -e " + go.string() +
                                     " ]; do sleep 0.01; done\nexit " + std::to_string(answer) + "\n");
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        SystemShutdown shutdown(program);
        int waits = 0;
        shutdown.setWhileWaiting([&] {
            if (++waits == 1)
                test::writeFile(go, "");
        });
        EXPECT_EQ(shutdown.cancel(), taken) << answer;
        EXPECT_GE(waits, 1);
    }
}

TEST(SystemOperations, TheSandboxProgramActsOnlyInsideItsFolder) {
    test::TempFolder temp;
    const std::filesystem::path folder = temp / "sandbox";
    const SystemPaths paths = SystemPaths::forProgram(folder, true);
    ASSERT_TRUE(paths.sandbox());
    for (const auto& path : {paths.hostsFile, paths.autostartFolder, paths.shutdownLog}) {
        EXPECT_EQ(path.parent_path(), folder / "system");
    }

    // The system folder is not there yet: each operation makes what it needs.
    ASSERT_TRUE(makeAutoStart(paths, folder / "tallowby_start")->AddAutoStart());
    ASSERT_TRUE(makeShutdown(paths)->start());
    EXPECT_TRUE(std::filesystem::exists(folder / "system" / "autostart" / "tallowby.desktop"));
    EXPECT_EQ(linesOf(readFile(folder / "system" / "shutdown.log")).size(), 1u);
}

TEST(SystemOperations, TheRealProgramUsesTheMachinesPaths) {
    const SystemPaths paths = SystemPaths::forProgram("/opt/tallowby", false);
    EXPECT_FALSE(paths.sandbox());
    EXPECT_EQ(paths.hostsFile, "/etc/hosts");
    EXPECT_EQ(paths.autostartFolder, "/etc/xdg/autostart");
    // Only built, never started: the real one shuts the machine down.
    EXPECT_NE(dynamic_cast<SystemShutdown*>(makeShutdown(paths).get()), nullptr);
}

} // namespace
} // namespace tallowby::platform
