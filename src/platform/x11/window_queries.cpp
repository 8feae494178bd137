#include "platform/x11/window_queries.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>

#include <xcb/xcb_icccm.h>

namespace tallowby::platform::x11 {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class Reply> using ReplyPtr = std::unique_ptr<Reply, FreeDeleter>;

// Titles beyond this many bytes are cut: no window title needs more, and a hostile client cannot
// make the sweep fetch megabytes.
constexpr std::uint32_t kTitleLongs = 1024;
constexpr std::uint32_t kListLongs = 1 << 16;
constexpr std::uint32_t kClassLongs = 64;

template <class Reply, class Cookie>
ReplyPtr<Reply> awaitReply(XConnection& x, Cookie cookie,
                           Reply* (*replyFn)(xcb_connection_t*, Cookie, xcb_generic_error_t**)) {
    x.awaiting(cookie.sequence);
    xcb_generic_error_t* error = nullptr;
    ReplyPtr<Reply> reply(replyFn(x.get(), cookie, &error));
    // A window that vanished since it was listed answers with an error: it simply has no facts.
    std::free(error);
    return reply;
}

using PropertyReply = ReplyPtr<xcb_get_property_reply_t>;

PropertyReply awaitProperty(XConnection& x, xcb_get_property_cookie_t cookie) {
    return awaitReply(x, cookie, &xcb_get_property_reply);
}

xcb_get_property_cookie_t requestProperty(XConnection& x, xcb_window_t window, xcb_atom_t property,
                                          xcb_atom_t type, std::uint32_t longs) {
    return x.sent(xcb_get_property(x.get(), 0, window, property, type, 0, longs));
}

std::span<const std::uint32_t> values32(const PropertyReply& reply, xcb_atom_t type) {
    if (!reply || reply->type != type || reply->format != 32) {
        return {};
    }
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4};
}

// The first string of an 8-bit text property (a list of strings is separated by NULs).
std::string_view text8(const PropertyReply& reply) {
    if (!reply || reply->format != 8) {
        return {};
    }
    const std::string_view bytes(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                 static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    return bytes.substr(0, bytes.find('\0'));
}

std::string latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return out;
}

bool contains(std::span<const std::uint32_t> values, xcb_atom_t atom) {
    return std::ranges::find(values, atom) != values.end();
}

} // namespace

std::vector<xcb_window_t> windowsTopFirst(XConnection& x) {
    auto& ewmh = x.ewmh();
    const auto stacking = awaitProperty(
        x, requestProperty(x, x.root(), ewmh._NET_CLIENT_LIST_STACKING, XCB_ATOM_WINDOW, kListLongs));
    if (stacking && stacking->type == XCB_ATOM_WINDOW) {
        const auto bottomUp = values32(stacking, XCB_ATOM_WINDOW);
        return {bottomUp.rbegin(), bottomUp.rend()};
    }
    const auto tree = awaitReply(x, x.sent(xcb_query_tree(x.get(), x.root())), &xcb_query_tree_reply);
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const std::span<const xcb_window_t> bottomUp(
        children, static_cast<std::size_t>(xcb_query_tree_children_length(tree.get())));
    return {bottomUp.rbegin(), bottomUp.rend()};
}

void watchRoot(XConnection& x) {
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    x.sent(xcb_change_window_attributes(x.get(), x.root(), XCB_CW_EVENT_MASK, &mask));
}

void watchWindow(XConnection& x, xcb_window_t window) {
    // Selected for this connection alone: the window's own program and the window manager keep
    // theirs.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    x.sent(xcb_change_window_attributes(x.get(), window, XCB_CW_EVENT_MASK, &mask));
}

TitleRequest requestTitle(XConnection& x, xcb_window_t window) {
    return {requestProperty(x, window, x.ewmh()._NET_WM_NAME, x.ewmh().UTF8_STRING, kTitleLongs),
            requestProperty(x, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, kTitleLongs)};
}

std::string collectTitle(XConnection& x, const TitleRequest& request) {
    const auto netName = awaitProperty(x, request.netWmName);
    const auto wmName = awaitProperty(x, request.wmName);
    if (netName && netName->type == x.ewmh().UTF8_STRING && !text8(netName).empty()) {
        return std::string(text8(netName));
    }
    // WM_NAME is Latin-1 when typed STRING; UTF8_STRING and COMPOUND_TEXT are passed on as they are.
    if (wmName && wmName->type == XCB_ATOM_STRING) {
        return latin1ToUtf8(text8(wmName));
    }
    return std::string(text8(wmName));
}

StateRequest requestState(XConnection& x, xcb_window_t window) {
    auto& ewmh = x.ewmh();
    return {x.sent(xcb_get_window_attributes(x.get(), window)),
            requestProperty(x, window, x.wmState(), x.wmState(), 2),
            requestProperty(x, window, ewmh._NET_WM_STATE, XCB_ATOM_ATOM, 64),
            requestProperty(x, window, ewmh._NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM, 64)};
}

WindowState collectState(XConnection& x, const StateRequest& request) {
    const auto attributes = awaitReply(x, request.attributes, &xcb_get_window_attributes_reply);
    const auto wmState = awaitProperty(x, request.wmState);
    const auto netState = awaitProperty(x, request.netWmState);
    const auto type = awaitProperty(x, request.windowType);
    auto& ewmh = x.ewmh();

    const auto wmStateValues = values32(wmState, x.wmState());
    const std::uint32_t managedState =
        wmStateValues.empty() ? std::uint32_t{XCB_ICCCM_WM_STATE_WITHDRAWN} : wmStateValues[0];
    const bool iconic = managedState == XCB_ICCCM_WM_STATE_ICONIC ||
                        contains(values32(netState, XCB_ATOM_ATOM), ewmh._NET_WM_STATE_HIDDEN);
    // Unviewable means mapped under an unmapped parent, such as a frame on another desktop. A
    // window the window manager holds in the normal state is shown even while it is briefly
    // unmapped, as when the window manager reparents it.
    const bool shown = (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED) ||
                       managedState == XCB_ICCCM_WM_STATE_NORMAL;
    const auto types = values32(type, XCB_ATOM_ATOM);
    return {.visible = attributes && (shown || iconic),
            .desktopOrDock = contains(types, ewmh._NET_WM_WINDOW_TYPE_DESKTOP) ||
                             contains(types, ewmh._NET_WM_WINDOW_TYPE_DOCK),
            .normalOrDialog = types.empty() || contains(types, ewmh._NET_WM_WINDOW_TYPE_NORMAL) ||
                              contains(types, ewmh._NET_WM_WINDOW_TYPE_DIALOG)};
}

ClassRequest requestClass(XConnection& x, xcb_window_t window) {
    return {requestProperty(x, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, kClassLongs),
            requestProperty(x, window, x.gtkApplicationId(), x.ewmh().UTF8_STRING, kClassLongs)};
}

WindowClass collectClass(XConnection& x, const ClassRequest& request) {
    const auto wmClass = awaitProperty(x, request.wmClass);
    const auto applicationId = awaitProperty(x, request.applicationId);
    WindowClass found;
    if (wmClass && wmClass->format == 8) {
        // Two strings, each ended by a NUL: the instance name, then the class name.
        const std::string_view both(static_cast<const char*>(xcb_get_property_value(wmClass.get())),
                                    static_cast<std::size_t>(xcb_get_property_value_length(wmClass.get())));
        const std::size_t split = both.find('\0');
        found.instanceName = latin1ToUtf8(both.substr(0, split));
        if (split != std::string_view::npos) {
            const std::string_view rest = both.substr(split + 1);
            found.className = latin1ToUtf8(rest.substr(0, rest.find('\0')));
        }
    }
    found.applicationId = std::string(text8(applicationId));
    return found;
}

PidRequest requestPid(XConnection& x, xcb_window_t window) {
    return {requestProperty(x, window, x.ewmh()._NET_WM_PID, XCB_ATOM_CARDINAL, 1)};
}

ProcessId collectPid(XConnection& x, const PidRequest& request) {
    const auto reply = awaitProperty(x, request.netWmPid);
    const auto values = values32(reply, XCB_ATOM_CARDINAL);
    return values.empty() ? kNoProcess : values[0];
}

ClientPidRequest requestClientPid(XConnection& x, xcb_window_t window) {
    if (!x.hasClientIds()) {
        return {};
    }
    const xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    return {true, x.sent(xcb_res_query_client_ids(x.get(), 1, &spec))};
}

ProcessId collectClientPid(XConnection& x, const ClientPidRequest& request) {
    if (!request.sent) {
        return kNoProcess;
    }
    const auto reply = awaitReply(x, request.ids, &xcb_res_query_client_ids_reply);
    if (!reply) {
        return kNoProcess;
    }
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem > 0;
         xcb_res_client_id_value_next(&it)) {
        if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) != 0 &&
            xcb_res_client_id_value_value_length(it.data) >= 1) {
            return *xcb_res_client_id_value_value(it.data);
        }
    }
    return kNoProcess;
}

} // namespace tallowby::platform::x11
