#include "platform/x11/x11_window_list.h"

#include "platform/x11/window_queries.h"

namespace tallowby::platform::x11 {

namespace {

struct WindowRequests {
    xcb_window_t window;
    TitleRequest title;
    StateRequest state;
    PidRequest pid;
};

// Fills in the pids of windows whose program set no _NET_WM_PID, again all requests first.
void addClientPids(XConnection& x, std::vector<TopLevelWindow>& windows) {
    std::vector<std::pair<TopLevelWindow*, ClientPidRequest>> pending;
    for (auto& window : windows) {
        if (window.pid == kNoProcess) {
            pending.emplace_back(&window, requestClientPid(x, static_cast<xcb_window_t>(window.id)));
        }
    }
    for (const auto& [window, request] : pending) {
        window->pid = collectClientPid(x, request);
    }
}

std::vector<TopLevelWindow> listWindows(XConnection& x) {
    x.discardEvents();
    std::vector<WindowRequests> requests;
    for (const xcb_window_t window : windowsTopFirst(x)) {
        requests.push_back({window, requestTitle(x, window), requestState(x, window), requestPid(x, window)});
    }
    std::vector<TopLevelWindow> windows;
    windows.reserve(requests.size());
    for (const auto& request : requests) {
        // Every reply is collected, even for windows that are left out, so none is left queued.
        std::string title = collectTitle(x, request.title);
        const WindowState state = collectState(x, request.state);
        const ProcessId pid = collectPid(x, request.pid);
        if (!state.desktopOrDock) {
            windows.push_back({request.window, std::move(title), state.visible, pid});
        }
    }
    addClientPids(x, windows);
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
