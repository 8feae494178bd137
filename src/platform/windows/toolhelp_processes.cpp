#include "platform/windows/toolhelp_processes.h"

#include <algorithm>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include "platform/process_killer.h"
#include "platform/program_command.h"
#include "platform/windows/process_command_line.h"
#include "platform/windows/wide_text.h"

namespace tallowby::platform::windows {
namespace {

struct Entry {
    ProcessId pid = kNoProcess;
    ProcessId parent = kNoProcess;
    std::string name;
};

std::vector<Entry> entries() {
    std::vector<Entry> all;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return all;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        all.push_back({entry.th32ProcessID, entry.th32ParentProcessID, utf8Of(entry.szExeFile)});
    ::CloseHandle(snapshot);
    return all;
}

} // namespace

ProcessSnapshot ToolhelpProcesses::snapshot() {
    ProcessSnapshot processes;
    for (Entry& entry : entries()) {
        if (entry.pid != kNoProcess) // the idle process
            processes.push_back({entry.pid, std::move(entry.name)});
    }
    return processes;
}

std::string ToolhelpProcesses::nameOf(ProcessId pid) {
    for (Entry& entry : entries()) {
        if (entry.pid == pid && pid != kNoProcess)
            return std::move(entry.name);
    }
    return {};
}

ProcessId ToolhelpProcesses::parentOf(ProcessId pid) {
    // Windows never hands a process over to another parent: the recorded one counts while it runs.
    const std::vector<Entry> all = entries();
    const auto child = std::ranges::find(all, pid, &Entry::pid);
    if (pid == kNoProcess || child == all.end() || child->parent == pid)
        return kNoProcess;
    return std::ranges::find(all, child->parent, &Entry::pid) != all.end() ? child->parent : kNoProcess;
}

std::vector<ProcessId> ToolhelpProcesses::processesNamed(std::span<const std::string> names) {
    return matchingProcesses(snapshot(), names, [&](const ProcessInfo& process) {
        return isInterpreter(process.name) ? commandNames(process.name, commandLine(process.pid))
                                           : std::vector<std::string>();
    });
}

std::vector<std::string> ToolhelpProcesses::commandLine(ProcessId pid) {
    return readCommandLine(pid);
}

std::vector<ProcessId> ToolhelpProcesses::childrenOf(ProcessId pid) {
    std::vector<ProcessId> children;
    for (const Entry& entry : entries()) {
        if (entry.parent == pid && entry.pid != pid && pid != kNoProcess)
            children.push_back(entry.pid);
    }
    return children;
}

ProcessEnder::Ending TerminatingKiller::end(ProcessId pid) {
    const HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    Ending ending = Ending::Failed;
    if (process != nullptr && ::TerminateProcess(process, 1))
        ending = Ending::Ended;
    else if (::GetLastError() == ERROR_ACCESS_DENIED)
        ending = Ending::Refused; // another user's, or one running with more rights than this program
    if (process != nullptr)
        ::CloseHandle(process);
    return ending;
}

ProcessId ownProcessId() {
    return ::GetCurrentProcessId();
}

} // namespace tallowby::platform::windows
