// The end of the Windows session: Windows asks every top-level window whether the session may end
// (WM_QUERYENDSESSION) and then tells it that it does (WM_ENDSESSION), after which it may end the
// process at any moment. A hidden window on a thread of its own takes both, so the answer never
// waits on the program's windows, and the request is passed on before the second is answered.
#include <windows.h>

#include <future>
#include <system_error>
#include <thread>

#include "platform/end_request.h"

namespace tallowby::platform {
namespace {

constexpr wchar_t kClassName[] = L"TallowbyEndRequest";

std::function<void()>& endedCall() {
    static std::function<void()> ended;
    return ended;
}

LRESULT CALLBACK endRequestWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static bool ended = false;
    switch (message) {
    case WM_QUERYENDSESSION:
        // Nothing to keep the session for: the blocks are lifted when it ends.
        return TRUE;
    case WM_ENDSESSION:
        // wParam false: another program refused and the session goes on.
        if (wParam != FALSE && !ended) {
            ended = true;
            endedCall()();
        }
        return 0;
    case WM_CLOSE:
        // Another program's close request is not the session's end, and this window is nobody's to
        // close: the program's own windows answer it.
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void takeRequests(std::promise<bool> made) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = endRequestWindow;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    // Top-level and never shown: a message-only window would not be asked.
    const HWND window = ::RegisterClassW(&windowClass) != 0
                            ? ::CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                                windowClass.hInstance, nullptr)
                            : nullptr;
    made.set_value(window != nullptr);
    if (window == nullptr)
        return;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace

bool catchEndRequest(std::function<void()> ended) {
    endedCall() = std::move(ended);
    std::promise<bool> made;
    std::future<bool> answer = made.get_future();
    try {
        std::thread(takeRequests, std::move(made)).detach();
    } catch (const std::system_error&) {
        return false;
    }
    return answer.get();
}

} // namespace tallowby::platform
