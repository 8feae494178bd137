// A program started on its own on Windows: no console of the caller's, no handle of the caller's,
// its own process group (a Ctrl+C meant for the caller does not reach it), and nobody waiting.
#include <windows.h>

#include "os/windows/win32_error.h"
#include "platform/detached_spawn.h"
#include "platform/windows/command_line_text.h"
#include "platform/windows/wide_text.h"

namespace tallowby::platform {

Spawned spawnDetached(const std::filesystem::path& program, const std::vector<std::string>& args) {
    std::wstring line = windows::quotedArgument(program.wstring());
    for (const std::string& arg : args)
        line += L" " + windows::quotedArgument(windows::wideOf(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // The program by its path alone: no search of the folders Windows would otherwise try first.
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                          DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process))
        return {-1, os::windows::errnoFromWin32(::GetLastError())};
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return {static_cast<int>(process.dwProcessId), 0};
}

} // namespace tallowby::platform
