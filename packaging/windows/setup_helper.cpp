// tallowby-setup-helper: what the installer and the uninstaller do that NSIS's script cannot do well.
// Both carry it inside them and run it from their own temporary folder, so it is never installed.
//
//   end-programs <folder>  ends every process whose program file lies in the folder (a running
//                          Tallowby holds its files and would write its block again)
//   lift-hosts             takes Tallowby's block, every user's part of it, out of the system hosts
//                          file by the very rule the program writes it with: every other line stays
//                          byte for byte
//
// Exits 0 when done, 1 with the reason on standard output (which the script shows), 2 on a wrong
// command line.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <windows.h>

#include "os/file_error.h"
#include "os/files.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_target.h"
#include "platform/hosts_io.h"
#include "platform/windows/system_folder.h"
#include "platform/windows/toolhelp_processes.h"
#include "platform/windows/wide_text.h"
#include "store/text_file.h"

namespace {

using tallowby::platform::windows::utf8Of;

enum Exit { kDone = 0, kFailed = 1, kUsage = 2 };

int fail(const std::string& message) {
    std::cout << message << "\n";
    return kFailed;
}

// The process's program file, or an empty path when it cannot be asked.
std::filesystem::path programOf(HANDLE process) {
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process, 0, path.data(), &length))
        return {};
    path.resize(length);
    return path;
}

bool liesIn(const std::filesystem::path& file, const std::wstring& folder) {
    const std::wstring path = file.wstring();
    return path.size() > folder.size() + 1 && path[folder.size()] == L'\\' &&
           ::CompareStringOrdinal(path.data(), static_cast<int>(folder.size()), folder.data(),
                                  static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

// Ends the folder's processes and waits until each has ended; a process started meanwhile (the
// log-on companion starting the program) is found by the next round.
int endPrograms(const std::filesystem::path& given) {
    std::wstring folder = std::filesystem::absolute(given).lexically_normal().wstring();
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    tallowby::platform::windows::ToolhelpProcesses processes;
    // The installer or uninstaller that started the helper may run from the folder itself (an
    // uninstall run in place, with _?=).
    const auto self = static_cast<tallowby::platform::ProcessId>(::GetCurrentProcessId());
    const tallowby::platform::ProcessId starter = processes.parentOf(self);
    for (int round = 0; round < 5; ++round) {
        int found = 0;
        for (const auto& listed : processes.snapshot()) {
            if (listed.pid == self || listed.pid == starter)
                continue;
            const HANDLE process =
                ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                              static_cast<DWORD>(listed.pid));
            if (process == nullptr)
                continue;
            if (liesIn(programOf(process), folder)) {
                ++found;
                ::TerminateProcess(process, 1);
                ::WaitForSingleObject(process, 30'000);
            }
            ::CloseHandle(process);
        }
        if (found == 0)
            return kDone;
    }
    return fail("Programs in " + utf8Of(folder) + " kept starting again.");
}

int liftHosts() {
    const std::filesystem::path hosts = tallowby::platform::windows::systemHostsFile();
    if (hosts.empty())
        return fail("Windows did not tell where its system folder is.");
    try {
        const auto target = tallowby::platform::hosts_io::findHostsTarget(hosts, {});
        if (!target.stamp)
            return kDone;
        const std::filesystem::path lockFile = tallowby::platform::hosts_io::hostsLockFile(target.path);
        {
            // In turn with any program still writing its part (another user's, say).
            const tallowby::os::UniqueFd lock =
                tallowby::os::lockExclusively(lockFile, std::chrono::seconds(10));
            const auto file = tallowby::platform::hosts_io::readRegularFile(target.path);
            const auto lifted = file ? tallowby::platform::withoutHostsBlocks(file->bytes) : std::nullopt;
            if (lifted)
                tallowby::store::replaceFileContents(target.path, *lifted);
        }
        // The writers' lock file goes with the program; one still held open stays.
        std::error_code ignored;
        std::filesystem::remove(lockFile, ignored);
        return kDone;
    } catch (const tallowby::os::FileError& error) {
        return fail(utf8Of(error.path().wstring()) + ": " + error.what());
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"end-programs" && argc == 3)
        return endPrograms(argv[2]);
    if (command == L"lift-hosts" && argc == 2)
        return liftHosts();
    std::cout << "usage: tallowby-setup-helper end-programs <folder> | lift-hosts\n";
    return kUsage;
}
