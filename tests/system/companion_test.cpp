// The companion tallowby_start, run as the session would run it at log-on: copied into a program
// folder beside a stand-in "tallowby" script.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_files.h"

namespace tallowby::test {
namespace {

namespace fs = std::filesystem;

// Records its pid and session, then stays until the test lets it go, so the test can see that the
// companion did not wait for it.
constexpr const char* kStandIn = R"sh(#!/bin/sh
dir=$(dirname "$0")
echo "$$ $(cut -d' ' -f6 /proc/$$/stat)" > "$dir/started.tmp" && mv "$dir/started.tmp" "$dir/started"
i=0
while [ ! -e "$dir/release" ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done
touch "$dir/finished"
)sh";

struct Outcome {
    int exitCode = -1;
    std::string errors;
};

// Runs program from another working folder and waits for it to end.
Outcome runFrom(const fs::path& workingFolder, const fs::path& program, const fs::path& errorsFile) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::dup2(fd, 2) < 0 || ::chdir(workingFolder.c_str()) != 0) {
            ::_exit(120);
        }
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(121);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    Outcome run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = readFile(errorsFile);
    return run;
}

class CompanionTest : public testing::Test {
  protected:
    void SetUp() override {
        // The stand-in outlives the companion; as its subreaper this test can reap it.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        fs::create_directories(folder);
        fs::create_directories(elsewhere);
        fs::copy_file(TALLOWBY_START_EXE, companion);
    }
    void installStandIn(fs::perms perms) {
        writeFile(folder / "tallowby", kStandIn);
        fs::permissions(folder / "tallowby", perms);
    }
    Outcome runCompanion() { return runFrom(elsewhere, companion, temp / "stderr.txt"); }

    TempFolder temp;
    fs::path folder = temp / "program folder";
    fs::path elsewhere = temp / "elsewhere";
    fs::path companion = folder / "tallowby_start";
};

TEST_F(CompanionTest, StartsTheProgramBesideItDetachedAndEndsAtOnce) {
    installStandIn(fs::perms::owner_all);

    const Outcome run = runCompanion();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_TRUE(waitUntil([&] { return fs::exists(folder / "started"); }));
    // The companion has ended while the program it started is still waiting to be let go.
    EXPECT_FALSE(fs::exists(folder / "finished"));

    pid_t pid = 0;
    pid_t session = 0;
    std::istringstream(readFile(folder / "started")) >> pid >> session;
    EXPECT_EQ(session, pid); // a session of its own: the log-on session's end does not hang it up

    writeFile(folder / "release", "");
    EXPECT_TRUE(waitUntil([&] { return fs::exists(folder / "finished"); }));
    ::waitpid(pid, nullptr, 0);
}

TEST_F(CompanionTest, ReportsAMissingOrUnrunnableProgram) {
    Outcome run = runCompanion();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find((folder / "tallowby").string()), std::string::npos) << run.errors;

    installStandIn(fs::perms::owner_read | fs::perms::owner_write);
    run = runCompanion();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.errors.empty());
}

} // namespace
} // namespace tallowby::test
