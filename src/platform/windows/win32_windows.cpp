#include "platform/windows/win32_windows.h"

#include <algorithm>
#include <windows.h>

#include "platform/windows/wide_text.h"

namespace tallowby::platform::windows {
namespace {

std::wstring textOf(HWND window, int (*get)(HWND, LPWSTR, int), int longest) {
    std::wstring text(static_cast<std::size_t>(longest), L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, get(window, text.data(), longest))));
    return text;
}

int className(HWND window, LPWSTR buffer, int size) {
    return ::GetClassNameW(window, buffer, size);
}

int title(HWND window, LPWSTR buffer, int size) {
    // Asks a window of a hung program nothing: GetWindowTextW would wait on it.
    return ::InternalGetWindowText(window, buffer, size);
}

BOOL CALLBACK addWindow(HWND window, LPARAM list) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    TopLevelWindow listed;
    listed.id = reinterpret_cast<WindowId>(window);
    listed.title = utf8Of(textOf(window, title, 512));
    // A minimised window is still visible: it keeps receiving the command.
    listed.visible = ::IsWindowVisible(window) != FALSE;
    listed.pid = pid;
    // Tool windows (floating palettes, the tray's helpers) are no program's main or dialog window.
    listed.normalOrDialog = (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
    listed.className = utf8Of(textOf(window, className, 256));
    reinterpret_cast<std::vector<TopLevelWindow>*>(list)->push_back(std::move(listed));
    return TRUE;
}

} // namespace

std::vector<TopLevelWindow> Win32WindowList::topLevelWindows() {
    // EnumWindows walks the top-level windows in Z order, topmost first.
    std::vector<TopLevelWindow> windows;
    ::EnumWindows(addWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void Win32WindowCommander::post(WindowId window, WindowCommand command) {
    const auto handle = reinterpret_cast<HWND>(window);
    switch (command) {
    case WindowCommand::Minimize:
        // As the title bar's button asks it: the program may remember or refuse it as it likes.
        ::PostMessageW(handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case WindowCommand::Close:
        ::PostMessageW(handle, WM_CLOSE, 0, 0);
        break;
    }
}

} // namespace tallowby::platform::windows
