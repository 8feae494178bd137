#pragma once
// The questions asked about one window, each split into sending the requests and collecting the
// replies, so a caller can send the requests for many windows before it waits for any reply.
#include <string>
#include <vector>

#include <xcb/res.h>
#include <xcb/xcb.h>

#include "platform/process_list.h"
#include "platform/x11/x_connection.h"

namespace tallowby::platform::x11 {

// The managed top-level windows, topmost first: _NET_CLIENT_LIST_STACKING reversed (it lists bottom
// to top). Without a window manager that keeps it, the root's children in stacking order.
std::vector<xcb_window_t> windowsTopFirst(XConnection& x);

// Asks the server to tell of changes to the list of windows: windows made, mapped, unmapped,
// restacked and destroyed, and the window manager's client list.
void watchRoot(XConnection& x);
// Asks the server to tell of changes to one window: its properties, its mapping, its end.
void watchWindow(XConnection& x, xcb_window_t window);

struct TitleRequest {
    xcb_get_property_cookie_t netWmName;
    xcb_get_property_cookie_t wmName;
};
TitleRequest requestTitle(XConnection& x, xcb_window_t window);
// _NET_WM_NAME, else WM_NAME (converted from Latin-1 when it is a STRING); UTF-8, empty for none.
std::string collectTitle(XConnection& x, const TitleRequest& request);

struct StateRequest {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t wmState;
    xcb_get_property_cookie_t netWmState;
    xcb_get_property_cookie_t windowType;
};
StateRequest requestState(XConnection& x, xcb_window_t window);

struct WindowState {
    // Mapped, in WM_STATE Normal, or minimised (WM_STATE Iconic or _NET_WM_STATE_HIDDEN): minimised
    // windows count as visible. A withdrawn, unmapped window is not visible.
    bool visible = false;
    // The desktop background and panels (_NET_WM_WINDOW_TYPE_DESKTOP or _DOCK): never a program's
    // own window, so the sweeps leave them out.
    bool desktopOrDock = false;
    // An ordinary window or a dialog (_NET_WM_WINDOW_TYPE_NORMAL or _DIALOG, or no type at all).
    bool normalOrDialog = false;
};
WindowState collectState(XConnection& x, const StateRequest& request);

struct ClassRequest {
    xcb_get_property_cookie_t wmClass;
    xcb_get_property_cookie_t applicationId;
};
ClassRequest requestClass(XConnection& x, xcb_window_t window);
struct WindowClass {
    std::string instanceName;
    std::string className;
    std::string applicationId;
};
// WM_CLASS (instance and class name) and _GTK_APPLICATION_ID; empty where the window sets none.
WindowClass collectClass(XConnection& x, const ClassRequest& request);

struct PidRequest {
    xcb_get_property_cookie_t netWmPid;
};
PidRequest requestPid(XConnection& x, xcb_window_t window);
// _NET_WM_PID as the client set it; kNoProcess when it did not.
ProcessId collectPid(XConnection& x, const PidRequest& request);

struct ClientPidRequest {
    bool sent = false;
    xcb_res_query_client_ids_cookie_t ids{};
};
// The pid of the client that created the window, as the X server knows it (local clients only):
// for programs that set no _NET_WM_PID.
ClientPidRequest requestClientPid(XConnection& x, xcb_window_t window);
ProcessId collectClientPid(XConnection& x, const ClientPidRequest& request);

} // namespace tallowby::platform::x11
