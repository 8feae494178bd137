// What a user's program meets on Windows, under Wine (or Windows): the end of the session, the
// user's folders and Program Files, programs started on their own, the search path, the Start
// menu's shortcuts. Every process acted on is one the test started; the shortcuts are made in the
// test's own folder.
#include <gtest/gtest.h>

#include <atomic>
#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "os/path_text.h"
#include "platform/detached_spawn.h"
#include "platform/end_request.h"
#include "platform/own_folder.h"
#include "platform/program_files.h"
#include "platform/system/program_place.h"
#include "platform/user_folders.h"
#include "platform/windows/command_line_text.h"
#include "platform/windows/process_command_line.h"
#include "platform/windows/start_menu_shortcuts.h"
#include "platform/windows/wide_text.h"
#include "started_program.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace tallowby::platform::windows {
namespace {

namespace fs = std::filesystem;
using testsupport::testProgram;
using testsupport::waitUntil;

// The end-request window of this process: the one the program makes for it, not another's.
HWND ownEndRequestWindow() {
    for (HWND window = ::FindWindowExW(nullptr, nullptr, L"TallowbyEndRequest", nullptr); window != nullptr;
         window = ::FindWindowExW(nullptr, window, L"TallowbyEndRequest", nullptr)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        if (pid == ::GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

TEST(Win32EndRequest, TheSessionsEndIsPassedOnOnceAndBeforeItIsAnswered) {
    static std::atomic<int> calls{0};
    ASSERT_TRUE(catchEndRequest([] {
        // Windows may end the process once the message is answered: the work is done by then.
        ::Sleep(200);
        ++calls;
    }));
    const HWND window = ownEndRequestWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    // Another program refused: the session goes on, and so does the program.
    ::SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(calls, 0);
    // A close request from another program is no end of the session.
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(calls, 0);
    ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(calls, 1);
    ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(calls, 1);
}

TEST(Win32CommandLine, EveryArgumentIsReadBackWhole) {
    const std::wstring arguments[] = {
        L"plain", L"two words", L"", L"say \"hi\"", L"C:\\Program Files\\", L"back\\\\slashes\\",
        L"\\\"",  L"tab\there"};
    std::wstring line = L"program.exe";
    for (const std::wstring& argument : arguments)
        line += L" " + quotedArgument(argument);
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(words, nullptr);
    ASSERT_EQ(count, static_cast<int>(std::size(arguments)) + 1) << line;
    for (int i = 1; i < count; ++i)
        EXPECT_EQ(std::wstring(words[i]), arguments[i - 1]) << line;
    ::LocalFree(words);
}

TEST(Win32DetachedSpawn, TheProgramStartsOnItsOwnWithItsArgumentsAndAFailureIsTold) {
    const testsupport::TempFolder folder;
    const fs::path copy = folder / L"spawned program.exe";
    fs::copy_file(testProgram(), copy);
    const Spawned spawned = spawnDetached(copy, {"wait", "a \"quoted\" word"});
    ASSERT_TRUE(spawned.started());
    const auto pid = static_cast<ProcessId>(spawned.pid);
    std::vector<std::string> line;
    EXPECT_TRUE(waitUntil([&] { return !(line = readCommandLine(pid)).empty(); }));
    EXPECT_EQ(line, (std::vector<std::string>{utf8Of(copy.wstring()), "wait", "a \"quoted\" word"}));
    // Started by the test: ended by it.
    if (const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, 10000);
        ::CloseHandle(process);
    }
    const Spawned missing = spawnDetached(folder / L"missing.exe", {});
    EXPECT_FALSE(missing.started());
    EXPECT_EQ(missing.error, ENOENT);
}

TEST(Win32UserFolders, TheProgramsFolderAndTheKnownFoldersAreTheSystems) {
    EXPECT_EQ(ownExecutableFolder(), testProgram().parent_path());
    const UserFolders user = UserFolders::fromEnvironment();
    ASSERT_FALSE(user.dataHome.empty());
    EXPECT_EQ(os::pathFromUtf8(user.dataHome).filename(), L"Roaming");
    EXPECT_EQ(user.dataFolder(), os::pathFromUtf8(user.dataHome));
    ASSERT_FALSE(user.programFiles.empty());
    EXPECT_EQ(os::pathFromUtf8(user.programFiles.front()).filename(), L"Program Files");

    // Installed under Program Files, whatever is beside it: the defaults are there, the user's
    // copies in %APPDATA%\Tallowby; and the Run key starts the companion.
    const fs::path executable = os::pathFromUtf8(user.programFiles.front()) / L"Tallowby" / L"tallowby.exe";
    const ProgramPlace place = locateProgram(executable, user);
    EXPECT_EQ(place.kind, ProgramKind::Installed);
    EXPECT_EQ(place.defaultsFolder, executable.parent_path());
    EXPECT_EQ(place.dataFolder, os::pathFromUtf8(user.dataHome) / L"Tallowby");
    EXPECT_EQ(autostartProgramFor(place), executable.parent_path() / L"Tallowby_Start.exe");
    // Unpacked anywhere else, the folder keeps its own data.
    const testsupport::TempFolder unpacked;
    const ProgramPlace folderPlace = locateProgram(unpacked / L"tallowby.exe", user);
    EXPECT_EQ(folderPlace.kind, ProgramKind::Folder);
    EXPECT_EQ(folderPlace.dataFolder, unpacked.path());
}

TEST(Win32ProgramFiles, ProgramsAreExeFilesOnTheSearchPathsFolders) {
    const testsupport::TempFolder folder;
    std::wstring saved(::GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
    saved.resize(::GetEnvironmentVariableW(L"PATH", saved.data(), static_cast<DWORD>(saved.size())));
    ::SetEnvironmentVariableW(L"PATH", L"C:\\one;\"C:\\two\";relative;;C:\\one;C:\\three\\");
    const std::vector<fs::path> folders = programSearchFolders();
    ::SetEnvironmentVariableW(L"PATH", saved.c_str());
    EXPECT_EQ(folders, (std::vector<fs::path>{L"C:\\one", L"C:\\two", L"C:\\three\\"}));

    testsupport::writeFile(folder / L"notes.txt", "");
    fs::copy_file(testProgram(), folder / L"LOUD.EXE");
    fs::create_directory(folder / L"folder.exe");
    EXPECT_TRUE(isProgramFile(testProgram()));
    EXPECT_TRUE(isProgramFile(folder / L"LOUD.EXE"));
    EXPECT_FALSE(isProgramFile(folder / L"notes.txt"));
    EXPECT_FALSE(isProgramFile(folder / L"folder.exe"));
    EXPECT_FALSE(isProgramFile(folder / L"missing.exe"));
    const ProgramFileDialog dialog = programFileDialog();
    EXPECT_EQ(dialog.folder.filename(), L"Program Files");
    EXPECT_EQ(dialog.filter, "Application file(*.exe *.EXE);;All files(*.*)");
}

// A shortcut as an installer makes one, through the shell's own object.
void makeShortcut(const fs::path& shortcut, const fs::path& target) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&link))));
    EXPECT_TRUE(SUCCEEDED(link->SetPath(target.c_str())));
    EXPECT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(shortcut.c_str(), TRUE)));
    file->Release();
    link->Release();
    ::CoUninitialize();
}

TEST(Win32StartMenu, ShortcutsToProgramsAreTheInstalledApplicationsReadAgainWhenOneIsAdded) {
    const testsupport::TempFolder user;
    const testsupport::TempFolder allUsers;
    fs::create_directories(user / L"Games");
    const fs::path game = user / L"Games" / L"snake.exe";
    fs::copy_file(testProgram(), game);
    testsupport::writeFile(user / L"readme.txt", "");
    makeShortcut(user / L"Games" / L"Snake Deluxe.lnk", game);
    makeShortcut(user / L"Read me.lnk", user / L"readme.txt"); // no program
    testsupport::writeFile(user / L"not a shortcut.lnk", "text");

    StartMenuShortcuts shortcuts({user.path(), allUsers.path()});
    ASSERT_EQ(shortcuts.applications().size(), 1u);
    const DesktopEntry& snake = shortcuts.applications().front();
    EXPECT_EQ(snake.name, "Snake Deluxe");
    EXPECT_EQ(snake.id, "snake.exe");
    EXPECT_EQ(snake.program, "snake.exe");
    EXPECT_EQ(fs::path(wideOf(snake.programPath)), game);
    EXPECT_TRUE(snake.shown);

    fs::copy_file(testProgram(), allUsers / L"Test Program.exe");
    makeShortcut(allUsers / L"Test Program.lnk", allUsers / L"Test Program.exe");
    EXPECT_EQ(shortcutTarget(allUsers / L"Test Program.lnk"), allUsers / L"Test Program.exe");
    ASSERT_EQ(shortcuts.applications().size(), 2u);
    EXPECT_EQ(shortcuts.applications().back().id, "Test Program.exe");

    const std::vector<fs::path> startMenu = StartMenuShortcuts::startMenuFolders();
    ASSERT_EQ(startMenu.size(), 2u);
    for (const fs::path& folder : startMenu)
        EXPECT_EQ(folder.filename(), L"Programs");
}

} // namespace
} // namespace tallowby::platform::windows
