#include "platform/x11/x11_window_list.h"

#include "platform/x11/window_queries.h"

namespace tallowby::platform::x11 {

namespace {

struct WindowRequests {
    xcb_window_t window;
    TitleRequest title;
    StateRequest state;
    PidRequest pid;
    ClientPidRequest clientPid;
};

std::vector<TopLevelWindow> listWindows(XConnection& x) {
    x.discardEvents();
    std::vector<WindowRequests> requests;
    for (const xcb_window_t window : windowsTopFirst(x)) {
        requests.push_back({window, requestTitle(x, window), requestState(x, window), requestPid(x, window),
                            requestClientPid(x, window)});
    }
    std::vector<TopLevelWindow> windows;
    windows.reserve(requests.size());
    for (const auto& request : requests) {
        // Every reply is collected, even for windows that are left out, so none is left queued.
        std::string title = collectTitle(x, request.title);
        const WindowState state = collectState(x, request.state);
        const ProcessId claimed = collectPid(x, request.pid);
        const ProcessId client = collectClientPid(x, request.clientPid);
        // The server's word first: it knows which local process made the window, while
        // _NET_WM_PID is a property any client can set on its windows, to any process, the
        // program's own included. The property serves only where the server cannot tell (remote
        // clients, servers without the X-Resource extension).
        if (!state.desktopOrDock) {
            windows.push_back(
                {request.window, std::move(title), state.visible, client != kNoProcess ? client : claimed});
        }
    }
    return windows;
}

} // namespace

std::vector<TopLevelWindow> X11WindowList::topLevelWindows() {
    std::vector<TopLevelWindow> windows;
    if (!x_.withConnection([&] { windows = listWindows(x_); })) {
        return {};
    }
    return windows;
}

} // namespace tallowby::platform::x11
