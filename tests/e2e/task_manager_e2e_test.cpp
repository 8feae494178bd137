// "Block Task Manager" in the real program: a running system monitor is ended every tick.
//
// The program ends every process of that name it can see, so here it runs in a PID namespace of its
// own together with the test's monitor: no process of the machine, nor another test's, is in reach.
#include "desktop_checks.h"
#include "sandbox_desktop_test.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::ChildProcess;
using testsupport::waitUntil;

constexpr auto kDeadline = 20s;

// New user and PID namespaces with their own /proc; everything in them dies with their first
// process, and that with unshare.
const std::vector<std::string> kPrivateProcesses = {"--user", "--map-root-user", "--pid",
                                                    "--fork", "--mount-proc",    "--kill-child"};

// xterm gives its terminal to the tty group, which a user namespace mapping root alone lacks: for
// root, a PID namespace alone keeps the machine's processes out of reach.
const std::vector<std::string> kPrivateProcessesOfRoot = {"--pid", "--fork", "--mount-proc", "--kill-child"};

bool privateProcessesAvailable() {
    std::vector<std::string> args = kPrivateProcesses;
    args.emplace_back("true");
    ChildProcess probe("unshare", args);
    const auto status = probe.waitForExit(10s);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

// Writes one line into the FIFO once its reader has opened it.
bool release(const std::filesystem::path& fifo) {
    int fd = -1;
    if (!waitUntil([&] { return (fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0; },
                   10s)) {
        return false;
    }
    const bool written = ::write(fd, "go\n", 3) == 3;
    ::close(fd);
    return written;
}

// The parent's id from /proc/PID/stat ("PID (COMM) STATE PPID ..."), 0 when the process is gone.
pid_t parentOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(file, stat);
    const auto close = stat.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream rest(stat.substr(close + 1));
    std::string state;
    pid_t parent = 0;
    rest >> state >> parent;
    return parent;
}

// The processes below `ancestor` that run `program`: looked at, never touched.
std::vector<pid_t> descendantsRunning(pid_t ancestor, const std::filesystem::path& program) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const pid_t pid = std::atoi(entry.path().filename().c_str());
        if (pid <= 0 || std::filesystem::read_symlink(entry.path() / "exe", error) != program) {
            continue;
        }
        for (pid_t up = parentOf(pid); up > 1; up = parentOf(up)) {
            if (up == ancestor) {
                found.push_back(pid);
                break;
            }
        }
    }
    return found;
}

class TaskManagerTest : public SandboxDesktopTest {
  protected:
    void SetUp() override {
        if (!privateProcessesAvailable()) {
            GTEST_SKIP() << "no user and PID namespaces here: the program would reach the machine's "
                            "own system monitors";
        }
    }

    // The monitor and a bystander start inside the namespace; the program joins them once the
    // test has seen their windows, so it cannot end the monitor before it was ever shown.
    void startWithMonitor(const std::filesystem::path& gate) {
        ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);
        std::vector<std::string> args = kPrivateProcesses;
        args.insert(args.end(),
                    {"sh", "-c",
                     R"("$1" "System Monitor" & "$2" "Notes - Notepad" & read go < "$3"; exec "$4")", "sh",
                     programs.copyAs("gnome-system-monitor").string(),
                     programs.copyAs("notepad.exe").string(), gate.string(), sandbox.executable().string()});
        program.emplace(session.start("unshare", args, sandbox.environment(kMonday10)));
    }

    std::uint32_t shownWindow(const std::string& titlePattern) {
        std::vector<std::uint32_t> found;
        const bool shown = waitUntil(
            [&] {
                found = visibleWindowsNamed(session, titlePattern);
                return found.size() == 1 && normal(found.front());
            },
            kDeadline);
        EXPECT_TRUE(shown) << titlePattern << " did not appear";
        return shown ? found.front() : 0;
    }

    testsupport::TempFolder gateFolder;
};

TEST_F(TaskManagerTest, BlockTaskManagerEndsTheSystemMonitorAndNothingElse) {
    sandbox.configure({.blockTaskManager = true}, {});
    startWithMonitor(gateFolder.path() / "gate");
    const std::uint32_t monitor = shownWindow("^System Monitor$");
    const std::uint32_t notes = shownWindow("^Notes - Notepad$");
    ASSERT_TRUE(monitor != 0 && notes != 0);

    ASSERT_TRUE(release(gateFolder.path() / "gate"));
    programWindow();

    // The monitor's window goes when its process does: the server drops a dead client's windows,
    // and with the window action "minimise" nothing else could remove it.
    EXPECT_TRUE(waitUntil([&] { return !probe.isManaged(monitor) && !probe.wmState(monitor); }, kDeadline));
    EXPECT_TRUE(holdsFor([&] { return normal(notes); }, 1500ms));
}

// Real monitors the way a user gets round a name list: LXTask copied under another name (known by
// its build ID), LXTask started through the dynamic loader, and htop inside an xterm. All three
// are ended; the xterm, whose shell goes on after htop, and a bystander stay.
TEST_F(TaskManagerTest, EndsRenamedLoaderStartedAndTerminalMonitorsButNotTheTerminal) {
    const auto renamed = gateFolder.path() / "notes-viewer";
    std::filesystem::copy_file("/usr/bin/lxtask", renamed);
    const auto gate = gateFolder.path() / "gate";
    ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);
    if (::geteuid() != 0) {
        GTEST_SKIP() << "xterm cannot start in a user namespace that maps root alone";
    }
    sandbox.configure({.blockTaskManager = true}, {});
    std::vector<std::string> args = kPrivateProcessesOfRoot;
    args.insert(args.end(), {"sh", "-c",
                             R"("$1" & /lib64/ld-linux-x86-64.so.2 /usr/bin/lxtask &
                                xterm -T Terminal -e sh -c 'htop; sleep 600' & "$2" "Notes - Notepad" &
                                read go < "$3"; exec "$4")",
                             "sh", renamed.string(), programs.copyAs("notepad.exe").string(), gate.string(),
                             sandbox.executable().string()});
    program.emplace(session.start("unshare", args, sandbox.environment(kMonday10)));

    std::vector<std::uint32_t> monitors;
    ASSERT_TRUE(waitUntil(
        [&] { return (monitors = visibleWindowsNamed(session, "^Task Manager$")).size() == 2; }, kDeadline));
    const std::uint32_t terminal = shownWindow("^Terminal$");
    const std::uint32_t notes = shownWindow("^Notes - Notepad$");
    ASSERT_TRUE(terminal != 0 && notes != 0);
    ASSERT_TRUE(waitUntil([&] { return descendantsRunning(program->pid(), "/usr/bin/htop").size() == 1; },
                          kDeadline));

    ASSERT_TRUE(release(gate));
    programWindow();

    for (const std::uint32_t monitor : monitors) {
        EXPECT_TRUE(
            waitUntil([&] { return !probe.isManaged(monitor) && !probe.wmState(monitor); }, kDeadline));
    }
    EXPECT_TRUE(
        waitUntil([&] { return descendantsRunning(program->pid(), "/usr/bin/htop").empty(); }, kDeadline));
    EXPECT_TRUE(holdsFor([&] { return normal(terminal) && normal(notes); }, 1500ms));
    EXPECT_EQ(descendantsRunning(program->pid(), "/usr/bin/xterm").size(), 1u);
}

} // namespace
} // namespace tallowby::e2e
