#include "platform/x11/x11_window_list.h"

#include <algorithm>
#include <array>

#include "platform/x11/window_queries.h"

namespace tallowby::platform::x11 {

namespace {

struct WindowRequests {
    xcb_window_t window;
    TitleRequest title;
    StateRequest state;
    ClassRequest windowClass;
    PidRequest pid;
    ClientPidRequest clientPid;
};

std::vector<TopLevelWindow> listWindows(XConnection& x) {
    std::vector<WindowRequests> requests;
    for (const xcb_window_t window : windowsTopFirst(x)) {
        // Watched before its properties are asked for: a change made after the answers is told.
        watchWindow(x, window);
        requests.push_back({window, requestTitle(x, window), requestState(x, window), requestClass(x, window),
                            requestPid(x, window), requestClientPid(x, window)});
    }
    std::vector<TopLevelWindow> windows;
    windows.reserve(requests.size());
    for (const auto& request : requests) {
        // Every reply is collected, even for windows that are left out, so none is left queued.
        std::string title = collectTitle(x, request.title);
        const WindowState state = collectState(x, request.state);
        WindowClass windowClass = collectClass(x, request.windowClass);
        const ProcessId claimed = collectPid(x, request.pid);
        const ProcessId client = collectClientPid(x, request.clientPid);
        // The server's word first: it knows which local process made the window, while
        // _NET_WM_PID is a property any client can set on its windows, to any process, the
        // program's own included. The property serves only where the server cannot tell (remote
        // clients, servers without the X-Resource extension).
        if (!state.desktopOrDock) {
            windows.push_back({.id = request.window,
                               .title = std::move(title),
                               .visible = state.visible,
                               .pid = client != kNoProcess ? client : claimed,
                               .normalOrDialog = state.normalOrDialog,
                               .instanceName = std::move(windowClass.instanceName),
                               .className = std::move(windowClass.className),
                               .applicationId = std::move(windowClass.applicationId)});
        }
    }
    return windows;
}

// Whether the event tells of a change a listing would show. Other properties change all the time
// (the time of the user's last input, icons, opaque regions) and are of no concern.
bool changesTheListing(XConnection& x, const xcb_generic_event_t& event) {
    auto& ewmh = x.ewmh();
    switch (event.response_type & 0x7F) {
    case 0: // an error of a request without a reply: a command to a window that is gone
        return false;
    case XCB_PROPERTY_NOTIFY: {
        const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (change.window == x.root()) {
            return change.atom == ewmh._NET_CLIENT_LIST_STACKING;
        }
        const std::array listed{ewmh._NET_WM_NAME,
                                static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME),
                                static_cast<xcb_atom_t>(XCB_ATOM_WM_CLASS),
                                x.gtkApplicationId(),
                                x.wmState(),
                                ewmh._NET_WM_STATE,
                                ewmh._NET_WM_WINDOW_TYPE,
                                ewmh._NET_WM_PID};
        return std::ranges::find(listed, change.atom) != listed.end();
    }
    default: // a window made, mapped, unmapped, restacked, reparented or destroyed
        return true;
    }
}

} // namespace

std::vector<TopLevelWindow> X11WindowList::topLevelWindows() {
    std::vector<TopLevelWindow> windows;
    const bool listed = x_.withConnection([&] {
        if (watching_ != x_.generation()) {
            watchRoot(x_);
            watching_ = x_.generation();
            kept_.reset();
        }
        x_.takeEvents([&](const xcb_generic_event_t& event) {
            if (changesTheListing(x_, event)) {
                kept_.reset();
            }
        });
        if (!kept_) {
            kept_ = listWindows(x_);
        }
        windows = *kept_;
    });
    if (!listed) {
        kept_.reset();
        return {};
    }
    return windows;
}

} // namespace tallowby::platform::x11
