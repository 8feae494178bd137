// The Win32 platform under Wine (or Windows) against real programs the test starts: the hosts file
// of the system folder, the single-instance mutex, the Run key, Toolhelp processes, their command
// lines and Task Manager blocking, and the window list, commands and sweep.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <span>
#include <windows.h>

#include "engine/program_choice.h"
#include "os/path_text.h"
#include "platform/debug_privilege.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "platform/logged_shutdown.h"
#include "platform/single_instance.h"
#include "platform/system/folder_attribute.h"
#include "platform/system/system_operations.h"
#include "platform/system_monitors.h"
#include "platform/window_sweep.h"
#include "platform/windows/run_key_autostart.h"
#include "platform/windows/system_folder.h"
#include "platform/windows/token_privilege.h"
#include "platform/windows/toolhelp_processes.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32_platform.h"
#include "platform/windows/win32_windows.h"
#include "started_program.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace tallowby::platform::windows {
namespace {

using namespace std::chrono_literals;
using testsupport::StartedProgram;
using testsupport::testProgram;
using testsupport::waitUntil;

const std::string kTestProgram = "test_program.exe";

// The top-level window of the process with that title, once it is shown: a program's window is
// listed while it is being made, before the program shows it.
std::optional<TopLevelWindow> windowOf(ProcessId pid, const std::string& title) {
    for (const TopLevelWindow& window : Win32WindowList().topLevelWindows()) {
        if (window.pid == pid && window.title == title && window.visible)
            return window;
    }
    return std::nullopt;
}

// A name of this test process's own for a program: letters only, as a name ending in a number reads
// as a version and is known without it too.
std::string uniqueName(const std::string& stem) {
    std::string name = stem;
    for (const char digit : std::to_string(ownProcessId()))
        name += static_cast<char>('a' + (digit - '0'));
    return name;
}

// test_program.exe as <name>.exe showing a window with the title, started through a go-between that
// has ended: a program the user started, not one of this process's.
StartedProgram startAs(const testsupport::TempFolder& folder, const std::string& name,
                       const std::string& title) {
    const std::filesystem::path copy = folder / (name + ".exe");
    std::filesystem::copy_file(testProgram(), copy);
    StartedProgram program = StartedProgram::detached(copy, L"window \"" + wideOf(title) + L"\"");
    EXPECT_TRUE(waitUntil([&] { return windowOf(program.pid(), title).has_value(); }));
    return program;
}

TEST(Win32Hosts, TheSystemFoldersHostsFileGetsTheBlockAndKeepsItsLines) {
    wchar_t system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    const std::filesystem::path hosts = systemHostsFile();
    EXPECT_EQ(hosts, std::filesystem::path(std::wstring(system, length)) / L"drivers\\etc\\hosts");
    // The prefix's own file, which Wine makes: the test changes it and puts it back.
    const std::string before = testsupport::readFile(hosts);
    const HostsFile file(hosts, std::string(nativeLineEnd()));
    file.write({"news.example.org", "video.example.com"});
    const std::string written = testsupport::readFile(hosts);
    EXPECT_EQ(written.substr(0, before.size()), before);
    EXPECT_EQ(written.substr(before.size()),
              renderHostsBlock({"news.example.org", "video.example.com"}, "\r\n"));
    EXPECT_TRUE(file.holds({"news.example.org", "video.example.com"}));
    file.write({});
    EXPECT_FALSE(file.holds({"news.example.org", "video.example.com"}));
    EXPECT_EQ(testsupport::readFile(hosts).find("example"), std::string::npos);
    testsupport::writeFile(hosts, before);
}

TEST(Win32SingleInstance, OneFolderHasOneMutexHoweverItIsReached) {
    const testsupport::TempFolder folder;
    std::filesystem::create_directories(folder / "sub");
    std::filesystem::create_directories(folder / "other");
    const std::wstring name = SingleInstance::mutexName("Tallowby-test", folder.path());
    // One folder, one name, however its path is spelled; another folder, another name.
    EXPECT_EQ(SingleInstance::mutexName("Tallowby-test", folder / "sub" / ".." / ""), name);
    EXPECT_NE(SingleInstance::mutexName("Tallowby-test", folder / "other"), name);
    EXPECT_EQ(name.find(L"Local\\Tallowby-test-"), 0u);
    EXPECT_NE(name.find(L"-S-1-"), std::wstring::npos);
    const auto second = [&](const std::filesystem::path& data) {
        StartedProgram program(testProgram(), L"instance \"" + data.wstring() + L"\"");
        EXPECT_TRUE(program.ended(10s));
        return program.exitCode();
    };
    {
        std::optional<SingleInstance> first = SingleInstance::acquire("Tallowby-test", folder.path());
        ASSERT_TRUE(first && first->holdsLock());
        EXPECT_FALSE(SingleInstance::acquire("Tallowby-test", folder.path())); // also within one process
        EXPECT_EQ(second(folder.path()), 3u);
        EXPECT_EQ(second(folder / "sub" / ".."), 3u);
        EXPECT_EQ(second(folder / "other"), 0u);
        const SingleInstance moved = std::move(*first);
        EXPECT_EQ(second(folder.path()), 3u); // the lock went with the move
    }
    EXPECT_EQ(second(folder.path()), 0u); // free again once the holder let go
}

TEST(Win32AutoStart, TheRunKeyValueIsAddedOnceAndRemoved) {
    const std::wstring name = L"Tallowby test " + std::to_wstring(::GetCurrentProcessId());
    const auto value = [&]() -> std::optional<std::wstring> {
        wchar_t text[512];
        DWORD size = sizeof text;
        if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(text);
    };
    RunKeyAutoStart autostart(name, L"C:\\Program Files\\Tallowby\\tallowby.exe");
    EXPECT_TRUE(autostart.AddAutoStart());
    EXPECT_EQ(value(), L"\"C:\\Program Files\\Tallowby\\tallowby.exe\"");
    // An entry already there is kept, whatever it starts.
    EXPECT_TRUE(RunKeyAutoStart(name, L"C:\\elsewhere.exe").AddAutoStart());
    EXPECT_EQ(value(), L"\"C:\\Program Files\\Tallowby\\tallowby.exe\"");
    EXPECT_TRUE(autostart.DelAutoStart());
    EXPECT_EQ(value(), std::nullopt);
    EXPECT_TRUE(autostart.DelAutoStart());
}

TEST(Win32Shutdown, TheSandboxLogsWhatTheSystemsCallWouldDoAndShutsNothingDown) {
    const testsupport::TempFolder folder;
    const std::filesystem::path log = folder / "system" / "shutdown.log";
    EXPECT_TRUE(LoggedShutdown(log).start());
    EXPECT_TRUE(LoggedShutdown(log).cancel());
    const std::regex lines("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d shutdown\\.exe /s /f /t 60\n"
                           "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d shutdown\\.exe /a\n");
    EXPECT_TRUE(std::regex_match(testsupport::readFile(log), lines)) << testsupport::readFile(log);
}

TEST(Win32System, TheSandboxKeepsEverySystemPathInsideItsFolder) {
    const testsupport::TempFolder folder;
    const SystemPaths sandbox = SystemPaths::forProgram(folder.path(), true);
    for (const std::filesystem::path& path :
         {sandbox.hostsFile, sandbox.autostartFolder, sandbox.shutdownLog})
        EXPECT_EQ(path.parent_path().lexically_relative(folder.path()), "system") << path.string();
    const SystemPaths machine = SystemPaths::forProgram(folder.path(), false);
    EXPECT_EQ(machine.hostsFile, systemHostsFile());
    EXPECT_FALSE(machine.sandbox());

    const std::unique_ptr<AutoStart> autostart =
        makeAutoStart(sandbox, L"C:\\Program Files\\T\u00e9\\tallowby.exe");
    EXPECT_TRUE(autostart->AddAutoStart());
    const std::filesystem::path script = sandbox.autostartFolder / "Tallowby.cmd";
    EXPECT_EQ(testsupport::readFile(script),
              "@chcp 65001 >nul\r\n@start \"\" \"C:\\Program Files\\T\xc3\xa9\\tallowby.exe\"\r\n");
    EXPECT_TRUE(makeAutoStart(sandbox, L"C:\\elsewhere.exe")->AddAutoStart()); // kept as it is
    EXPECT_EQ(testsupport::readFile(script).find("elsewhere"), std::string::npos);
    EXPECT_NE(::RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Tallowby", RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_SUCCESS); // the machine's autostart untouched
    EXPECT_TRUE(autostart->DelAutoStart());
    EXPECT_FALSE(std::filesystem::exists(script));

    EXPECT_TRUE(makeShutdown(sandbox)->start());
    EXPECT_NE(testsupport::readFile(sandbox.shutdownLog).find(" shutdown.exe /s /f /t 60\n"),
              std::string::npos);
}

TEST(Win32System, TheProgramFolderIsMarkedHiddenAndNothingElse) {
    const testsupport::TempFolder folder;
    ASSERT_TRUE(::SetFileAttributesW(folder.path().c_str(), FILE_ATTRIBUTE_READONLY));
    setFolderHidden(folder.path());
    EXPECT_EQ(::GetFileAttributesW(folder.path().c_str()), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
}

// Whether the program's own token holds the privilege switched on.
bool privilegeEnabled(const wchar_t* name) {
    LUID luid{};
    HANDLE token = nullptr;
    alignas(TOKEN_PRIVILEGES) unsigned char buffer[4096];
    DWORD size = 0;
    const bool read = ::LookupPrivilegeValueW(nullptr, name, &luid) &&
                      ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) &&
                      ::GetTokenInformation(token, TokenPrivileges, buffer, sizeof buffer, &size);
    ::CloseHandle(token);
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
    return read && std::ranges::any_of(std::span(privileges->Privileges, privileges->PrivilegeCount),
                                       [&](const LUID_AND_ATTRIBUTES& held) {
                                           return held.Luid.LowPart == luid.LowPart &&
                                                  held.Luid.HighPart == luid.HighPart &&
                                                  (held.Attributes & SE_PRIVILEGE_ENABLED) != 0;
                                       });
}

TEST(Win32Privileges, TheDebugAndShutdownPrivilegesAreSwitchedOnInTheOwnToken) {
    EnableDebugPrivilege();
    EXPECT_TRUE(privilegeEnabled(SE_DEBUG_NAME));
    EXPECT_TRUE(enablePrivilege(SE_SHUTDOWN_NAME));
    EXPECT_TRUE(privilegeEnabled(SE_SHUTDOWN_NAME));
    EXPECT_FALSE(enablePrivilege(L"SeNoSuchPrivilege"));
}

TEST(Win32Processes, ASnapshotNamesTheExecutableAndItsParent) {
    StartedProgram child(testProgram(), L"wait");
    ToolhelpProcesses processes;
    const ProcessSnapshot snapshot = processes.snapshot();
    const auto listed = std::ranges::find(snapshot, child.pid(), &ProcessInfo::pid);
    ASSERT_NE(listed, snapshot.end());
    EXPECT_EQ(listed->name, kTestProgram);
    EXPECT_EQ(processes.nameOf(child.pid()), kTestProgram);
    EXPECT_EQ(processes.parentOf(child.pid()), ownProcessId());
    EXPECT_EQ(processes.childrenOf(ownProcessId()), std::vector<ProcessId>{child.pid()});
    EXPECT_EQ(processes.processesNamed(std::vector<std::string>{"TEST_PROGRAM"}),
              std::vector<ProcessId>{child.pid()});
    EXPECT_TRUE(processes.nameOf(kNoProcess).empty());
}

TEST(Win32Processes, BlockingTaskManagerEndsWinesTaskmgrAndNothingElse) {
    StartedProgram taskManager(testsupport::systemProgram(L"taskmgr.exe"), L"");
    StartedProgram bystander(testProgram(), L"wait");
    ToolhelpProcesses processes;
    ASSERT_TRUE(waitUntil([&] { return processes.nameOf(taskManager.pid()) == "taskmgr.exe"; }));
    TerminatingKiller killer(processes);
    const KillReport report = KillTaskManager(killer);
    EXPECT_EQ(report.ended, std::vector<ProcessId>{taskManager.pid()});
    EXPECT_TRUE(report.refused.empty());
    EXPECT_TRUE(taskManager.ended(10s));
    EXPECT_FALSE(bystander.ended(0ms));
}

TEST(Win32Processes, BlockingTaskManagerEndsEveryWindowsMonitorOfTheTable) {
    // Each Windows program name of the table, as a copy of test_program.exe in the test's folder.
    const testsupport::TempFolder folder;
    std::vector<StartedProgram> monitors;
    for (const std::string& name : systemMonitorPrograms()) {
        if (!engine::sameName(std::filesystem::path(name).extension().string(), ".exe"))
            continue;
        std::filesystem::copy_file(testProgram(), folder / name);
        monitors.emplace_back(folder / name, L"wait");
    }
    ASSERT_GE(monitors.size(), 8u);
    StartedProgram bystander(testProgram(), L"wait");
    ToolhelpProcesses processes;
    TerminatingKiller killer(processes);
    const std::vector<ProcessId> ended = KillTaskManager(killer).ended;
    for (StartedProgram& monitor : monitors) {
        EXPECT_NE(std::ranges::find(ended, monitor.pid()), ended.end()) << processes.nameOf(monitor.pid());
        EXPECT_TRUE(monitor.ended(10s));
    }
    EXPECT_FALSE(bystander.ended(0ms));
}

TEST(Win32Processes, AnInterpretersProcessIsKnownByTheScriptItsCommandLineNames) {
    const testsupport::TempFolder folder;
    const std::filesystem::path interpreter = folder / "pythonw.exe";
    std::filesystem::copy_file(testProgram(), interpreter);
    ToolhelpProcesses processes;
    const std::filesystem::path script = folder / "my scripts" / "monitor.py";
    // Quoted as Windows programs unquote their command lines: a quotation mark inside a word is
    // escaped by a backslash; a backslash before anything else is itself.
    StartedProgram monitor(interpreter,
                           L"-u \"" + script.wstring() + L"\" --title \"say \\\"hi\\\"\" C:\\x\\");
    const std::vector<std::string> expected{
        os::utf8Of(interpreter), "-u", os::utf8Of(script), "--title", "say \"hi\"", "C:\\x\\"};
    // Wine sets a new process's parameters up inside that process as it starts (Windows has them
    // before it runs), and until then its PEB shows another line.
    EXPECT_TRUE(waitUntil([&] { return processes.commandLine(monitor.pid()) == expected; }))
        << testing::PrintToString(processes.commandLine(monitor.pid()));
    EXPECT_EQ(processes.processesNamed(std::vector<std::string>{"MONITOR"}), std::vector{monitor.pid()});
    Win32Platform platform;
    TopLevelWindow window;
    window.pid = monitor.pid();
    const std::vector<std::string> names = platform.programNamer().namesOf(window).all;
    EXPECT_NE(std::ranges::find(names, "monitor.py"), names.end());
    EXPECT_TRUE(processes.commandLine(kNoProcess).empty());
}

TEST(Win32Windows, AWindowIsListedMinimisedAndClosed) {
    StartedProgram program(testProgram(), L"window \"Tallowby test window\"");
    std::optional<TopLevelWindow> window;
    ASSERT_TRUE(
        waitUntil([&] { return (window = windowOf(program.pid(), "Tallowby test window")).has_value(); }));
    EXPECT_TRUE(window->normalOrDialog);
    EXPECT_EQ(window->className, "TallowbyTestWindow");
    const auto handle = reinterpret_cast<HWND>(window->id);
    Win32WindowCommander commander;
    commander.post(window->id, WindowCommand::Minimize);
    EXPECT_TRUE(waitUntil([&] { return ::IsIconic(handle) != FALSE; }));
    EXPECT_TRUE(windowOf(program.pid(), "Tallowby test window").has_value()); // minimised still counts
    commander.post(window->id, WindowCommand::Close);
    EXPECT_TRUE(program.ended(10s));
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST(Win32Windows, TheSweepActsOnAListedProgramAndSparesItsOwnWindows) {
    const testsupport::TempFolder folder;
    const std::string blocked = uniqueName("blocked");
    StartedProgram program = startAs(folder, blocked, "Blocked program");
    // A window of this process, which the sweep must spare though the rule names it too.
    const HWND own = ::CreateWindowExW(0, L"STATIC", L"Own window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                       200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(own, nullptr);
    Win32Platform platform;
    engine::SweepRule rule;
    rule.kind = engine::SweepKind::SessionBlock;
    rule.names = {blocked, "platform_windows_tests.exe"};
    const std::vector<PostedCommand> posted = WindowSweep(platform.sweepPlatform(), rule, ownProcessId());
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].pid, program.pid());
    EXPECT_EQ(posted[0].processName, blocked + ".exe");
    const auto window = reinterpret_cast<HWND>(windowOf(program.pid(), "Blocked program")->id);
    EXPECT_TRUE(waitUntil([&] { return ::IsIconic(window) != FALSE; }));
    EXPECT_FALSE(::IsIconic(own));
    ::DestroyWindow(own);
}

TEST(Win32Windows, AFocusSweepActsOnEveryProgramButTheListedOnes) {
    const testsupport::TempFolder folder;
    const std::string allowed = uniqueName("allowed");
    StartedProgram allowedProgram = startAs(folder, allowed, "Work");
    StartedProgram otherProgram = startAs(folder, uniqueName("other"), "Play");
    Win32Platform platform;
    engine::SweepRule rule;
    rule.kind = engine::SweepKind::SessionFocus;
    rule.names = {allowed};
    rule.command = WindowCommand::Close;
    const std::vector<PostedCommand> posted = WindowSweep(platform.sweepPlatform(), rule, ownProcessId());
    // Nothing else in the test's own Wine prefix shows a window: the one program not listed is all.
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].pid, otherProgram.pid());
    EXPECT_EQ(posted[0].command, WindowCommand::Close);
    EXPECT_TRUE(otherProgram.ended(10s));
    EXPECT_FALSE(allowedProgram.ended(0ms));
}

} // namespace
} // namespace tallowby::platform::windows
