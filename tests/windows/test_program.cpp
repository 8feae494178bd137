// A small Windows program for the platform tests to start and act on:
//   test_program window <title>  shows a top-level window and ends when it is closed
//   test_program instance <folder> exits 0 when it got the single-instance lock of that data folder,
//                                3 when another holds it
//   test_program wait            waits a minute, windowless
//   test_program -<option> ...   the same, standing in for an interpreter given options and a script
//   test_program detached <mode> <argument>  starts another test_program with those and exits with
//                                its process id
#include <filesystem>
#include <string>
#include <windows.h>

#include "platform/single_instance.h"

namespace {

LRESULT CALLBACK handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int showWindow(const wchar_t* title) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = handle;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TallowbyTestWindow";
    ::RegisterClassW(&windowClass);
    const HWND window =
        ::CreateWindowExW(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr)
        return 2;
    ::ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

int startDetached() {
    // The command line as it came, less this program's name and "detached".
    std::wstring commandLine = ::GetCommandLineW();
    const std::size_t rest = commandLine.find(L"detached ");
    if (rest == std::wstring::npos)
        return 0;
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self, length) + L"\" " + commandLine.substr(rest + 9);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return 0;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return static_cast<int>(started.dwProcessId);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"window" && argc > 2)
        return showWindow(argv[2]);
    if (mode == L"instance" && argc > 2) {
        const auto instance =
            tallowby::platform::SingleInstance::acquire("Tallowby-test", std::filesystem::path(argv[2]));
        return !instance ? 3 : instance->holdsLock() ? 0 : 4;
    }
    if (mode == L"detached")
        return startDetached();
    if (mode == L"wait" || mode.starts_with(L"-")) {
        ::Sleep(60'000);
        return 0;
    }
    return 1;
}
