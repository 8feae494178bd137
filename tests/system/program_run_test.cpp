// A program run to its end with a request on its input: every way it can end is told apart, and
// none of them harms the caller.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#include "platform/program_run.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

using namespace std::chrono_literals;

ProgramRun shell(const std::string& script, std::string_view input, std::chrono::milliseconds timeout = 20s) {
    return runProgram("/bin/sh", {"-c", script}, input, timeout);
}

TEST(ProgramRun, TheProgramReadsItsInputAndItsErrorsAndStatusComeBack) {
    const ProgramRun run = shell("tr a-z A-Z >&2; exit 3", "news.example\n");
    EXPECT_EQ(run.startError, 0);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.errors, "NEWS.EXAMPLE\n");
    EXPECT_FALSE(run.succeeded());
}

TEST(ProgramRun, InputAndErrorsLargerThanAPipeDoNotStallEitherSide) {
    // The program writes back what it reads as it reads it: were all the input written before the
    // errors were read, both sides would wait on each other.
    const std::string input(1 << 20, 'x');
    const ProgramRun run = shell("cat >&2", input);
    EXPECT_TRUE(run.succeeded());
    EXPECT_EQ(run.errors.size(), 64u * 1024) << "only the first 64 KiB are kept";
}

TEST(ProgramRun, AProgramThatStopsReadingEndsTheInputNotTheCaller) {
    // A write to a closed pipe would raise SIGPIPE in this very process.
    const ProgramRun run = shell("head -c 1 >/dev/null; exit 0", std::string(4 << 20, 'x'));
    EXPECT_TRUE(run.succeeded());
}

TEST(ProgramRun, ASignalATimeOutAndAMissingProgramAreToldApart) {
    const ProgramRun killed = shell("kill -TERM $$", "");
    EXPECT_EQ(killed.signal, SIGTERM);
    EXPECT_EQ(killed.exitCode, -1);

    const ProgramRun slow = shell("sleep 30", "", 200ms);
    EXPECT_TRUE(slow.timedOut);
    EXPECT_FALSE(slow.succeeded());

    const ProgramRun missing = runProgram("/nonexistent/program", {}, "", 20s);
    EXPECT_EQ(missing.startError, ENOENT);
    EXPECT_FALSE(missing.succeeded());
}

TEST(FindProgram, TakesTheFirstExecutableFileOnTheSearchPath) {
    test::TempFolder temp;
    for (const char* folder : {"a", "b", "c"})
        std::filesystem::create_directories(temp / folder);
    test::writeFile(temp / "a" / "tool", "not executable");
    std::filesystem::create_directories(temp / "b" / "tool"); // a folder, not a program
    test::writeFile(temp / "c" / "tool", "#!/bin/sh\n");
    std::filesystem::permissions(temp / "c" / "tool", std::filesystem::perms(0755));
    test::writeFile(temp / "d-tool", "#!/bin/sh\n");

    const std::string path =
        (temp / "a").string() + "::" + (temp / "b").string() + ":" + (temp / "c").string();
    EXPECT_EQ(findProgram("tool", path), temp / "c" / "tool");
    EXPECT_EQ(findProgram("other", path), std::filesystem::path{});
    EXPECT_EQ(findProgram("tool", ""), std::filesystem::path{});
}

} // namespace
} // namespace tallowby::platform
