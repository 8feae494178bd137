// Name matching for ending processes, the Task Manager list, and the window-title and process-id
// lookups of the process pickers.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "platform/process_killer.h"
#include "platform/system_monitors.h"
#include "platform/window_lookup.h"

namespace tallowby::platform {
namespace {

struct NameCase {
    const char* reported;
    const char* wanted;
    bool matches;
};

class ProcessNameMatchTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProcessNameMatchTest, ComparesWholeFileNamesIgnoringCase) {
    const auto& c = GetParam();
    EXPECT_EQ(processNameMatches(c.reported, c.wanted), c.matches) << c.reported << " vs " << c.wanted;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProcessNameMatchTest,
    ::testing::Values(NameCase{"taskmgr.exe", "taskmgr.exe", true},
                      NameCase{"TASKMGR.EXE", "taskmgr.exe", true},
                      NameCase{"TaskMgr.exe", "TASKMGR.EXE", true},
                      NameCase{"C:\\Windows\\System32\\taskmgr.exe", "taskmgr.exe", true},
                      NameCase{"/usr/bin/gnome-system-monitor", "gnome-system-monitor", true},
                      NameCase{"mytaskmgr.exe", "taskmgr.exe", false},
                      NameCase{"taskmgr.exe.bak", "taskmgr.exe", false},
                      NameCase{"taskmgr", "taskmgr.exe", false}, NameCase{"", "taskmgr.exe", false},
                      NameCase{"qps", "qpsx", false}));

TEST(KillTaskManagerTest, EndsEveryTaskManagerAndSystemMonitorFromOneSnapshot) {
    FakePlatform fake;
    fake.processes = {{10, "TASKMGR.EXE"},
                      {11, "notepad.exe"},
                      {12, "gnome-system-monitor"},
                      {13, "plasma-systemmonitor"},
                      {14, "ksysguard"},
                      {15, "xfce4-taskmanager"},
                      {16, "lxtask"},
                      {17, "mate-system-monitor"},
                      {18, "qps"},
                      {19, "taskmgr.exe"},
                      {20, "gnome-system-monitor-helper"},
                      {21, "htop-3.2.2"},
                      {22, "btm"},
                      {23, "xterm"},
                      {24, "glances.py"},
                      {25, "stop"}};
    fake.windows = {{1, "Task Manager", true, 10}, {2, "Notepad", true, 11}};

    const auto ended = KillTaskManager(fake).ended;

    EXPECT_EQ(ended, (std::vector<ProcessId>{10, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 24}));
    EXPECT_EQ(fake.snapshots, 1);
    ASSERT_EQ(fake.processes.size(), 4u);
    EXPECT_EQ(fake.processes[0].name, "notepad.exe");
    ASSERT_EQ(fake.windows.size(), 1u);
    EXPECT_EQ(fake.windows[0].title, "Notepad");
}

// The table the killer, the Options dialog and the help page share: every row has a label and a
// program, the names are each one row's, and a name as the process list gives it finds its row.
TEST(SystemMonitorsTest, EveryProgramBelongsToOneLabelledRow) {
    for (const SystemMonitor& monitor : systemMonitors()) {
        EXPECT_FALSE(monitor.label.empty());
        ASSERT_FALSE(monitor.programs.empty()) << monitor.label;
        for (std::string_view program : monitor.programs) {
            EXPECT_EQ(systemMonitorFor(program), &monitor) << program;
        }
    }
    EXPECT_EQ(systemMonitorFor("gnome-system-mo")->label, "GNOME System Monitor"); // another user's comm
    EXPECT_EQ(systemMonitorFor("HTOP-3.2.2")->label, "htop");
    EXPECT_EQ(systemMonitorFor("org.gnome.usage")->label, "GNOME Usage");
    EXPECT_EQ(systemMonitorFor("xterm"), nullptr);
    EXPECT_EQ(systemMonitorFor("to"), nullptr);
    EXPECT_NE(systemMonitorLabels(false).find("LXTask"), std::string::npos);
    EXPECT_NE(systemMonitorLabels(true).find("Glances"), std::string::npos);
    EXPECT_EQ(systemMonitorLabels(true).find("LXTask"), std::string::npos);
}

TEST(KillTaskManagerTest, KillProcessByNameEndsEveryInstance) {
    FakePlatform fake;
    fake.processes = {{10, "notepad.exe"}, {11, "calc.exe"}, {12, "NOTEPAD.EXE"}};
    EXPECT_EQ(KillProcessByName(fake, "notepad.exe"), (std::vector<ProcessId>{10, 12}));
    EXPECT_TRUE(KillProcessByName(fake, "notepad.exe").empty());
}

TEST(WindowLookupTest, FindsTheFirstWindowInZOrderWithExactlyThatTitle) {
    const std::vector<TopLevelWindow> windows{{1, "Report - Word", true, 30},
                                              {2, "Report", false, 31},
                                              {3, "Report", true, 32},
                                              {4, "Unknown owner", true, kNoProcess}};
    EXPECT_EQ(GetProcessIDbyWindowName(windows, "Report"), 31u); // visibility does not matter
    EXPECT_EQ(GetProcessIDbyWindowName(windows, "report"), kNoProcess);
    EXPECT_EQ(GetProcessIDbyWindowName(windows, "Report - "), kNoProcess);
    EXPECT_EQ(GetProcessIDbyWindowName(windows, "Unknown owner"), kNoProcess);
    EXPECT_EQ(GetProcessIDbyWindowName(windows, "Nothing"), kNoProcess);
}

TEST(WindowLookupTest, NamesTheProcessOrNothing) {
    FakePlatform fake;
    fake.processes = {{5, "notepad.exe"}, {6, "calc.exe"}, {6, "second.exe"}};
    EXPECT_EQ(GetProcessNameById(fake, 6), "calc.exe");
    EXPECT_EQ(GetProcessNameById(fake, 7), "");
    EXPECT_EQ(GetProcessNameById(fake, kNoProcess), "");
    EXPECT_EQ(fake.snapshots, 2); // no snapshot is taken for "none"
}

TEST(WindowLookupTest, PickerLookupsChainFromTitleToName) {
    FakePlatform fake;
    fake.processes = {{5, "notepad.exe"}};
    fake.windows = {{1, "Untitled - Notepad", true, 5}};
    EXPECT_EQ(GetProcessNameById(fake, GetProcessIDbyWindowName(fake, "Untitled - Notepad")), "notepad.exe");
    EXPECT_EQ(GetProcessNameById(fake, GetProcessIDbyWindowName(fake, "Closed meanwhile")), "");
}

} // namespace
} // namespace tallowby::platform
