#include "support/x_probe.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace tallowby::testsupport {

XProbe::XProbe(const std::string& display) {
    connection_ = xcb_connect(display.c_str(), &screen_);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        throw std::runtime_error("cannot connect to X display " + display);
    }
    auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen_; ++i) {
        xcb_screen_next(&it);
    }
    root_ = it.data->root;
}

XProbe::~XProbe() {
    xcb_disconnect(connection_);
}

xcb_atom_t XProbe::atom(const std::string& name) {
    auto* reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return result;
}

std::vector<std::uint32_t> XProbe::property32(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    auto* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, property, type, 0, 1 << 16), nullptr);
    std::vector<std::uint32_t> values;
    if (reply && reply->format == 32 && reply->type == type) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

void XProbe::setText(std::uint32_t window, const std::string& property, const std::string& text) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom(property), atom("UTF8_STRING"), 8,
                        static_cast<std::uint32_t>(text.size()), text.data());
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

bool XProbe::windowManagerRunning() {
    return !property32(root_, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty();
}

bool XProbe::windowManagerTakesWindows(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const xcb_window_t window = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_map_window(connection_, window);
        xcb_flush(connection_);
        const bool taken = waitUntil([&] { return isManaged(window); }, 500ms);
        xcb_destroy_window(connection_, window);
        // The round trip makes sure the window is gone before anything else is mapped.
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        if (taken) {
            return true;
        }
    }
    return false;
}

bool XProbe::trayHostRunning() {
    const auto selection = atom("_NET_SYSTEM_TRAY_S" + std::to_string(screen_));
    auto* reply =
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

std::vector<std::uint32_t> XProbe::managedTopFirst() {
    auto windows = property32(root_, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW);
    std::ranges::reverse(windows);
    return windows;
}

bool XProbe::isManaged(std::uint32_t window) {
    return std::ranges::count(managedTopFirst(), window) > 0;
}

bool XProbe::raise(std::uint32_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 2; // source: a pager, which the window manager obeys without question
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
    return waitUntil([&] {
        const auto stack = managedTopFirst();
        return !stack.empty() && stack.front() == window;
    });
}

std::optional<std::uint32_t> XProbe::wmState(std::uint32_t window) {
    const xcb_atom_t wmState = atom("WM_STATE");
    const auto values = property32(window, wmState, wmState);
    return values.empty() ? std::nullopt : std::optional(values[0]);
}

} // namespace tallowby::testsupport
