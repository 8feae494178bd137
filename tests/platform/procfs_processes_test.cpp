// Process names from /proc, read from a made-up /proc folder and from the test's own children, and
// ending processes by name.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include <grp.h>
#include <pty.h>
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

// A process with an executable may run another program at any time: one just seen is named afresh
// at the next snapshot (and any at a full renaming, below). One without (a kernel thread) keeps its
// name until another process takes its id, which gives the id's folder a new inode.
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

// /proc/loadavg ends with the number of threads and the id of the process made last. While they
// stay, the folder need not be read for new processes; a process that just started is named again
// at the next snapshot, and leaves when it ends.
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

// A monitor is known by more than its executable's name: the script an interpreter runs, the
// program the loader runs, its name without a version, and another user's process (whose link
// cannot be read: here a plain file) by its command line or its comm cut to 15 characters. A
// terminal running a monitor is none.
TEST_F(MadeUpProcTest, MonitorsAreKnownByTheirScriptLoaderVersionAndCutNames) {
    const auto add = [&](const char* pid, const char* exe, const char* comm, std::string_view cmdline) {
        addProcess(pid, exe, comm);
        std::ofstream(proc.path() / pid / "cmdline") << cmdline;
    };
    using namespace std::string_view_literals;
    add("50", "/usr/bin/python3.11", "glances\n", "python3\0-u\0-X\0dev\0/usr/bin/glances\0"sv);
    add("51", "/usr/lib/x86_64-linux-gnu/ld-linux-x86-64.so.2", "ld-linux-x86-64\n",
        "/lib64/ld-linux-x86-64.so.2\0/usr/bin/lxtask\0"sv);
    add("52", "/usr/bin/htop-3.2.2", "htop-3.2.2\n", "htop-3.2.2\0"sv);
    add("53", nullptr, "gnome-system-mo\n", "/usr/bin/gnome-system-monitor\0"sv);
    add("54", nullptr, "python3\n", "/usr/bin/python3\0-m\0glances\0"sv);
    add("60", "/usr/bin/xterm", "xterm\n", "xterm\0-e\0htop\0"sv);
    add("61", "/usr/bin/bash", "bash\n", "bash\0-c\0htop\0"sv);
    add("62", "/usr/bin/python3.11", "python3\n", "python3\0/usr/bin/notes\0"sv);
    add("63", nullptr, "kworker/0:1\n", ""sv);
    for (const char* foreign : {"53", "54"}) {
        std::ofstream(proc.path() / foreign / "exe") << ""; // readlink gives EINVAL, not ENOENT
    }
    ProcfsProcessLister processes(proc.path());

    // Another user's processes are named from the second look on.
    EXPECT_EQ(processes.processesNamed(taskManagerNames()).size(), 3u);
    auto found = processes.processesNamed(taskManagerNames());
    std::ranges::sort(found);
    EXPECT_EQ(found, (std::vector<ProcessId>{50, 51, 52, 53, 54}));
}

// With no new process (a /proc/loadavg that never changes) a known process is not named every
// time; one that replaced its program in place is still found within kFullRenameScans snapshots.
TEST_F(MadeUpProcTest, AProgramReplacedInPlaceIsFoundWithinAFullRenaming) {
    std::ofstream(proc.path() / "loadavg") << "0.00 0.01 0.05 1/3 42\n";
    addProcess("42", "/usr/bin/bash", "bash\n");
    ProcfsProcessLister processes(proc.path());
    for (int i = 0; i < ProcfsProcessLister::kRecentScans; ++i) {
        ASSERT_TRUE(processes.processesNamed(taskManagerNames()).empty());
    }
    replaceExecutable("42", "/usr/bin/htop");
    int snapshots = 0;
    while (processes.processesNamed(taskManagerNames()).empty() && snapshots < 20) {
        ++snapshots;
    }
    EXPECT_LT(snapshots, ProcfsProcessLister::kFullRenameScans);
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

// A child on a terminal of its own, a pseudo-terminal whose other side the test holds as a terminal
// emulator would: htop wants one.
class TerminalChild {
  public:
    explicit TerminalChild(const std::vector<std::string>& command) {
        pid_ = ::forkpty(&terminal_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (const auto& word : command) {
                argv.push_back(const_cast<char*>(word.c_str()));
            }
            argv.push_back(nullptr);
            ::setenv("TERM", "xterm", 1);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~TerminalChild() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(terminal_);
    }
    TerminalChild(const TerminalChild&) = delete;
    TerminalChild& operator=(const TerminalChild&) = delete;

    pid_t pid() const { return pid_; }
    bool endedBySigkill() {
        testsupport::waitUntil([&] { return reaped(); }, 10s);
        return status_ && WIFSIGNALED(*status_) && WTERMSIG(*status_) == SIGKILL;
    }

  private:
    bool reaped() {
        int status = 0;
        if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
        }
        return status_.has_value();
    }

    pid_t pid_ = -1;
    int terminal_ = -1;
    std::optional<int> status_;
};

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

    const auto ended = KillTaskManager(killer).ended;

    EXPECT_EQ(ended.size(), 2u);
    for (auto* child : {&monitor, &taskmgr}) {
        const auto status = child->waitForExit(10s);
        ASSERT_TRUE(status.has_value());
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
    }
    EXPECT_FALSE(notepad.hasExited());
}

// Real htop: a copy under another name is known by its build ID, one started through the dynamic
// loader by the loader's command line. Both are ended; the test holding their terminals, and a
// bystander, are not touched.
TEST_F(OwnProcessesTest, RenamedAndLoaderStartedMonitorsAreEnded) {
    const auto copy = folder.path() / "notes";
    fs::copy_file("/usr/bin/htop", copy);
    TerminalChild renamed({copy.string()});
    TerminalChild loaded({"/lib64/ld-linux-x86-64.so.2", "/usr/bin/htop"});
    auto bystander = startAs("notepad.exe");
    for (const TerminalChild* child : {&renamed, &loaded}) {
        children.add(static_cast<ProcessId>(child->pid()));
    }
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return nameOf(renamed.pid()) == "notes" && nameOf(loaded.pid()) == "ld-linux-x86-64.so.2"; }));
    SignalProcessKiller killer(children);

    auto ended = KillTaskManager(killer).ended;

    std::ranges::sort(ended);
    EXPECT_EQ(ended, (std::vector<ProcessId>{static_cast<ProcessId>(std::min(renamed.pid(), loaded.pid())),
                                             static_cast<ProcessId>(std::max(renamed.pid(), loaded.pid()))}));
    EXPECT_TRUE(renamed.endedBySigkill());
    EXPECT_TRUE(loaded.endedBySigkill());
    EXPECT_FALSE(bystander.hasExited());
}

// A monitor of root's, seen by a killer running as nobody, cannot be ended: it is reported the first
// time only and keeps running.
TEST_F(OwnProcessesTest, AMonitorOfAnotherUserIsReportedOnceAndLeftAlone) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to start a killer as another user";
    }
    auto monitor = startAs("htop");
    const auto pid = static_cast<ProcessId>(monitor.pid());
    const pid_t checker = ::fork();
    if (checker == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(2);
        }
        OwnChildren own;
        own.add(pid);
        SignalProcessKiller killer(own);
        // Told at the second look, which is the first to name another user's process; then no more.
        const KillReport first = KillTaskManager(killer);
        const KillReport second = KillTaskManager(killer);
        const KillReport third = KillTaskManager(killer);
        const bool toldOnce = first.ended.empty() && first.refused.empty() && second.ended.empty() &&
                              second.refused == std::vector<RefusedProcess>{{pid, "htop"}} &&
                              third.ended.empty() && third.refused.empty();
        ::_exit(toldOnce ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(checker, &status, 0), checker);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(monitor.hasExited());
}

} // namespace
} // namespace tallowby::platform
