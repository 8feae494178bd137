#include "started_program.h"

#include <stdexcept>
#include <windows.h>

#include "platform/windows/system_folder.h"

namespace tallowby::testsupport {

StartedProgram::StartedProgram(const std::filesystem::path& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started))
        throw std::runtime_error("cannot start " + program.string());
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
    pid_ = started.dwProcessId;
}

StartedProgram StartedProgram::detached(const std::filesystem::path& copy, const std::wstring& arguments) {
    StartedProgram goBetween(copy, L"detached " + arguments);
    if (!goBetween.ended(std::chrono::seconds(10)))
        throw std::runtime_error("the go-between did not end");
    const auto pid = static_cast<platform::ProcessId>(goBetween.exitCode());
    const HANDLE process =
        ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr)
        throw std::runtime_error("the detached program is not running");
    return StartedProgram(process, pid);
}

StartedProgram::~StartedProgram() {
    if (process_ == nullptr)
        return;
    if (!ended(std::chrono::milliseconds(0)))
        ::TerminateProcess(process_, 1);
    ::CloseHandle(process_);
}

bool StartedProgram::ended(std::chrono::milliseconds within) {
    return ::WaitForSingleObject(process_, static_cast<DWORD>(within.count())) == WAIT_OBJECT_0;
}

unsigned long StartedProgram::exitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

std::filesystem::path testProgram() {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    return std::filesystem::path(self).parent_path() / L"test_program.exe";
}

std::filesystem::path systemProgram(const wchar_t* name) {
    return platform::windows::systemFolder() / name;
}

} // namespace tallowby::testsupport
