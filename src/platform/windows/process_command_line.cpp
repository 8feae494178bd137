#include "platform/windows/process_command_line.h"

#include <climits>
#include <cstddef>
#include <memory>
#include <optional>
#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>
#include <winternl.h>

#include "os/windows/file_handle.h"
#include "platform/process_tree.h"
#include "platform/windows/wide_text.h"

namespace tallowby::platform::windows {
namespace {

// Windows 8.1's information class, which MinGW's headers do not name: the line as a UNICODE_STRING
// followed by its text, asked with the limited query right alone.
constexpr auto kProcessCommandLineInformation = static_cast<PROCESSINFOCLASS>(60);

// A UNICODE_STRING's length is 16 bits of bytes: a buffer of the most a line may be holds any
// line whole, and a process cannot make this one larger.
constexpr ULONG kBufferBytes = sizeof(UNICODE_STRING) + kMostCommandLineBytes;
static_assert(kMostCommandLineBytes >= USHRT_MAX, "a command line would not fit whole");

// Wine answers that information class with STATUS_INVALID_INFO_CLASS.
std::optional<std::wstring> askedOf(HANDLE process) {
    const auto buffer = std::make_unique_for_overwrite<ULONG_PTR[]>(kBufferBytes / sizeof(ULONG_PTR) + 1);
    ULONG length = 0;
    const NTSTATUS status = ::NtQueryInformationProcess(process, kProcessCommandLineInformation, buffer.get(),
                                                        kBufferBytes, &length);
    if (status == static_cast<NTSTATUS>(0xC0000003L)) // STATUS_INVALID_INFO_CLASS
        return std::nullopt;
    const auto* line = reinterpret_cast<const UNICODE_STRING*>(buffer.get());
    if (!NT_SUCCESS(status) || line->Buffer == nullptr)
        return std::wstring();
    return std::wstring(line->Buffer, line->Length / sizeof(wchar_t));
}

template <class T> bool readOf(HANDLE process, const void* address, T& value) {
    SIZE_T read = 0;
    return ::ReadProcessMemory(process, address, &value, sizeof value, &read) && read == sizeof value;
}

// The older way, which needs the right to read the process's memory: the line its parameters block
// holds, found through its PEB.
std::wstring readFromPeb(ProcessId pid) {
    const os::windows::UniqueHandle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    PROCESS_BASIC_INFORMATION basic{};
    PRTL_USER_PROCESS_PARAMETERS parameters = nullptr;
    UNICODE_STRING line{};
    if (!process.valid() ||
        !NT_SUCCESS(::NtQueryInformationProcess(process.get(), ProcessBasicInformation, &basic, sizeof basic,
                                                nullptr)) ||
        basic.PebBaseAddress == nullptr ||
        !readOf(process.get(),
                reinterpret_cast<const char*>(basic.PebBaseAddress) + offsetof(PEB, ProcessParameters),
                parameters) ||
        parameters == nullptr ||
        !readOf(process.get(),
                reinterpret_cast<const char*>(parameters) +
                    offsetof(RTL_USER_PROCESS_PARAMETERS, CommandLine),
                line))
        return {};
    std::wstring text(line.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process.get(), line.Buffer, text.data(), text.size() * sizeof(wchar_t), &read))
        return {};
    text.resize(read / sizeof(wchar_t));
    return text;
}

std::wstring commandLineText(ProcessId pid) {
    const os::windows::UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process.valid())
        return {};
    std::optional<std::wstring> asked = askedOf(process.get());
    return asked ? std::move(*asked) : readFromPeb(pid);
}

} // namespace

std::vector<std::string> readCommandLine(ProcessId pid) {
    if (pid == kNoProcess)
        return {};
    const std::wstring text = commandLineText(pid);
    // An empty line would be split into this program's own path.
    if (text.find_first_not_of(L" \t") == std::wstring::npos)
        return {};
    int count = 0;
    LPWSTR* const words = ::CommandLineToArgvW(text.c_str(), &count);
    if (words == nullptr)
        return {};
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8Of(words[i]));
    ::LocalFree(words);
    return arguments;
}

} // namespace tallowby::platform::windows
