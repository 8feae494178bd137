// Process names from /proc, read from a made-up /proc folder and from the test's own children, and
// ending processes by name.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

#include "own_children.h"
#include "platform/linux/procfs_processes.h"
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace tallowby::platform {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using testsupport::ChildProcess;
using testsupport::TempFolder;

class MadeUpProcTest : public ::testing::Test {
  protected:
    void addProcess(const std::string& pid, const char* exeTarget, const char* comm) {
        const fs::path dir = proc.path() / pid;
        fs::create_directories(dir);
        if (exeTarget) {
            fs::create_symlink(exeTarget, dir / "exe");
        }
        if (comm) {
            std::ofstream(dir / "comm") << comm;
        }
    }

    ProcessSnapshot sortedSnapshot() {
        auto snapshot = ProcfsProcessLister(proc.path()).snapshot();
        std::ranges::sort(snapshot, {}, &ProcessInfo::pid);
        return snapshot;
    }

    TempFolder proc;
};

TEST_F(MadeUpProcTest, NamesComeFromTheExecutableElseFromComm) {
    addProcess("1", "/sbin/init", "systemd\n");
    addProcess("42", "/usr/bin/notepad.exe (deleted)", "notepad.exe\n");
    addProcess("43", nullptr, "kworker/0:1\n");
    addProcess("44", "/opt/tool/bin/a-name-longer-than-fifteen", "a-name-longer-t\n");
    addProcess("45", nullptr, nullptr); // ended while the folder was read
    addProcess("0", "/bin/zero", "zero\n");
    addProcess("12abc", "/bin/odd", "odd\n");
    addProcess("acpi", nullptr, nullptr);
    fs::create_directory_symlink(proc.path() / "42", proc.path() / "self");

    const auto snapshot = sortedSnapshot();

    ASSERT_EQ(snapshot.size(), 4u);
    EXPECT_EQ(snapshot[0].pid, 1u);
    EXPECT_EQ(snapshot[0].name, "init");
    EXPECT_EQ(snapshot[1].name, "notepad.exe");
    EXPECT_EQ(snapshot[2].name, "kworker/0:1");
    EXPECT_EQ(snapshot[3].name, "a-name-longer-than-fifteen");
}

TEST(ProcfsTest, MissingProcFolderGivesAnEmptySnapshot) {
    EXPECT_TRUE(ProcfsProcessLister("/nonexistent/proc").snapshot().empty());
}

TEST(ProcfsTest, ListsThisProgramUnderItsOwnName) {
    const std::string own = ownExecutableName();
    EXPECT_EQ(own, fs::path(program_invocation_name).filename().string());
    const auto snapshot = ProcfsProcessLister().snapshot();
    const auto self = std::ranges::find(snapshot, static_cast<ProcessId>(::getpid()), &ProcessInfo::pid);
    ASSERT_NE(self, snapshot.end());
    EXPECT_EQ(self->name, own);
}

class OwnProcessesTest : public ::testing::Test {
  protected:
    // A copy of sleep under that name, returned once /proc shows the name (the exec has happened).
    ChildProcess startAs(const std::string& name) {
        const auto copy = folder.path() / name;
        if (!fs::exists(copy)) {
            fs::copy_file("/bin/sleep", copy);
        }
        ChildProcess child(copy, {"300"});
        children.add(static_cast<ProcessId>(child.pid()));
        EXPECT_TRUE(testsupport::waitUntil([&] { return nameOf(child.pid()) == name; }));
        return child;
    }

    std::string nameOf(pid_t pid) {
        const auto snapshot = children.snapshot();
        const auto found = std::ranges::find(snapshot, static_cast<ProcessId>(pid), &ProcessInfo::pid);
        return found == snapshot.end() ? std::string() : found->name;
    }

    TempFolder folder;
    OwnChildren children;
};

TEST_F(OwnProcessesTest, ARunningProgramKeepsItsNameAfterItsFileIsReplaced) {
    auto child = startAs("notepad.exe");
    fs::remove(folder.path() / "notepad.exe");
    EXPECT_EQ(nameOf(child.pid()), "notepad.exe");
}

TEST_F(OwnProcessesTest, KillTaskManagerEndsSystemMonitorsWithSigkillAndSparesOthers) {
    auto monitor = startAs("gnome-system-monitor");
    auto taskmgr = startAs("TASKMGR.EXE");
    auto notepad = startAs("notepad.exe");
    SignalProcessKiller killer(children);

    const auto ended = KillTaskManager(killer);

    EXPECT_EQ(ended.size(), 2u);
    for (auto* child : {&monitor, &taskmgr}) {
        const auto status = child->waitForExit(10s);
        ASSERT_TRUE(status.has_value());
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
    }
    EXPECT_FALSE(notepad.hasExited());
}

} // namespace
} // namespace tallowby::platform
