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
    void addProcess(const std::string& pid, const char* exeTarget, const char* comm,
                    const char* stat = nullptr) {
        const fs::path dir = proc.path() / pid;
        fs::create_directories(dir);
        if (exeTarget) {
            fs::create_symlink(exeTarget, dir / "exe");
        }
        if (comm) {
            std::ofstream(dir / "comm") << comm;
        }
        if (stat) {
            std::ofstream(dir / "stat") << stat;
        }
    }

    ProcessSnapshot sortedSnapshot() {
        auto snapshot = ProcfsProcessLister(proc.path()).snapshot();
        std::ranges::sort(snapshot, {}, &ProcessInfo::pid);
        return snapshot;
    }

    // The names of a snapshot in the order of their process ids.
    static std::vector<std::string> names(ProcfsProcessLister& processes) {
        auto snapshot = processes.snapshot();
        std::ranges::sort(snapshot, {}, &ProcessInfo::pid);
        std::vector<std::string> found;
        for (const auto& p : snapshot) {
            found.push_back(p.name);
        }
        return found;
    }

    void replaceExecutable(const std::string& pid, const char* exeTarget) {
        fs::remove(proc.path() / pid / "exe");
        fs::create_symlink(exeTarget, proc.path() / pid / "exe");
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

// One process at a time, as the sweeps ask about the owners of windows: the same name the snapshot
// gives, and the parent from a stat line whose command name may hold blanks and parentheses.
TEST_F(MadeUpProcTest, OneProcessesNameAndParent) {
    addProcess("42", "/usr/bin/notepad.exe (deleted)", "notepad.exe\n", "42 (notepad.exe) S 7 42 42 0 -1");
    addProcess("43", nullptr, "kworker/0:1\n", "43 (kworker/0:1) I 2 0 0 0 -1");
    addProcess("44", "/bin/game", "a) S 9 (b\n", "44 (a) S 9 (b) R 31 44 44 0 -1");
    addProcess("45", nullptr, nullptr, "45 (broken");
    ProcfsProcessLister processes(proc.path());

    const struct {
        ProcessId pid;
        const char* name;
        ProcessId parent;
    } cases[] = {{42, "notepad.exe", 7}, {43, "kworker/0:1", 2}, {44, "game", 31},
                 {45, "", kNoProcess},   {46, "", kNoProcess},   {kNoProcess, "", kNoProcess}};
    for (const auto& c : cases) {
        EXPECT_EQ(processes.nameOf(c.pid), c.name) << c.pid;
        EXPECT_EQ(processes.parentOf(c.pid), c.parent) << c.pid;
    }
}

// A process with an executable may run another program at any time and is named afresh in every
// snapshot; one without (a kernel thread) keeps its name until another process takes its id, which
// gives the id's folder a new inode.
TEST_F(MadeUpProcTest, OnlyNamesThatCannotChangeAreKeptBetweenSnapshots) {
    addProcess("42", "/usr/bin/bash", "bash\n");
    addProcess("43", nullptr, "kworker/0:1\n");
    addProcess("44", nullptr, "kworker/0:2\n");
    ProcfsProcessLister processes(proc.path());
    ASSERT_EQ(names(processes), (std::vector<std::string>{"bash", "kworker/0:1", "kworker/0:2"}));

    replaceExecutable("42", "/usr/bin/gnome-system-monitor");
    std::ofstream(proc.path() / "43" / "comm") << "changed\n";
    // Made while the old folder still stands, so that it cannot get the old one's inode back.
    addProcess("new44", "/usr/bin/qps", "qps\n");
    fs::remove_all(proc.path() / "44");
    fs::rename(proc.path() / "new44", proc.path() / "44");
    EXPECT_EQ(names(processes), (std::vector<std::string>{"gnome-system-monitor", "kworker/0:1", "qps"}));
}

// /proc/loadavg ends with the id of the process made last. While it stays, the folder need not be
// read for new processes; the processes known are still named afresh, and leave when they end.
TEST_F(MadeUpProcTest, NewProcessesAreFoundWhenOneWasMadeAndNoLaterThanTheTenthSnapshot) {
    const auto lastMade = [&](const char* pid) {
        std::ofstream(proc.path() / "loadavg") << "0.00 0.01 0.05 1/3 " << pid << "\n";
    };
    lastMade("43");
    addProcess("42", "/usr/bin/bash", "bash\n");
    addProcess("43", "/usr/bin/sleep", "sleep\n");
    ProcfsProcessLister processes(proc.path());
    ASSERT_EQ(names(processes), (std::vector<std::string>{"bash", "sleep"}));

    replaceExecutable("42", "/usr/bin/gnome-system-monitor");
    fs::remove_all(proc.path() / "43");
    EXPECT_EQ(names(processes), (std::vector<std::string>{"gnome-system-monitor"}));

    addProcess("44", "/usr/bin/qps", "qps\n");
    lastMade("44");
    EXPECT_EQ(names(processes), (std::vector<std::string>{"gnome-system-monitor", "qps"}));

    // A made-up /proc/loadavg (some containers have one) that never changes.
    addProcess("45", "/usr/bin/lxtask", "lxtask\n");
    int snapshots = 1;
    while (names(processes).size() < 3 && snapshots < 20) {
        ++snapshots;
    }
    EXPECT_LE(snapshots, 10);
}

TEST(ProcfsTest, MissingProcFolderGivesAnEmptySnapshot) {
    EXPECT_TRUE(ProcfsProcessLister("/nonexistent/proc").snapshot().empty());
}

TEST(ProcfsTest, ListsThisProgramUnderItsOwnName) {
    const std::string own = fs::path(program_invocation_name).filename().string();
    EXPECT_EQ(ownProcessId(), static_cast<ProcessId>(::getpid()));
    const auto snapshot = ProcfsProcessLister().snapshot();
    const auto self = std::ranges::find(snapshot, ownProcessId(), &ProcessInfo::pid);
    ASSERT_NE(self, snapshot.end());
    EXPECT_EQ(self->name, own);
    EXPECT_EQ(ProcfsProcessLister().nameOf(ownProcessId()), own);
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

TEST_F(OwnProcessesTest, AStartedProgramsParentIsWhoStartedIt) {
    auto child = startAs("notepad.exe");
    ProcfsProcessLister processes;
    EXPECT_EQ(processes.parentOf(static_cast<ProcessId>(child.pid())), ownProcessId());
    EXPECT_EQ(processes.parentOf(1), kNoProcess);
}

// Whether the kernel tells of processes (the tests run as root) or /proc is read, one lister asked
// every so often sees a process that starts, one that runs another program and one that ends.
TEST_F(OwnProcessesTest, ALongLivedListerFollowsProcessesThatStartRunAnotherProgramAndEnd) {
    ProcfsProcessLister processes;
    const std::vector<std::string> monitors{"lxtask"};
    const auto found = [&](pid_t pid) {
        const auto named = processes.processesNamed(monitors);
        return std::ranges::find(named, static_cast<ProcessId>(pid)) != named.end();
    };
    const auto copy = folder.path() / "lxtask";
    fs::copy_file("/bin/sleep", copy);
    processes.processesNamed(monitors);

    ChildProcess started(copy, {"300"});
    EXPECT_TRUE(testsupport::waitUntil([&] { return found(started.pid()); })) << "a program started";
    ChildProcess shell("/bin/sh", {"-c", "sleep 0.5; exec \"$0\" 300", copy.string()});
    EXPECT_FALSE(found(shell.pid()));
    EXPECT_TRUE(testsupport::waitUntil([&] { return found(shell.pid()); })) << "a shell running the program";
    started.stop();
    EXPECT_TRUE(testsupport::waitUntil([&] { return !found(started.pid()); })) << "a program ended";
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
