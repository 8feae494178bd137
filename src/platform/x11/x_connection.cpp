#include "platform/x11/x_connection.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <xcb/res.h>

namespace tallowby::platform::x11 {

namespace {

xcb_intern_atom_cookie_t internAtom(XConnection& x, std::string_view name) {
    return x.sent(xcb_intern_atom(x.get(), 0, static_cast<std::uint16_t>(name.size()), name.data()));
}

xcb_atom_t internedAtom(XConnection& x, xcb_intern_atom_cookie_t cookie) {
    x.awaiting(cookie.sequence);
    auto* reply = xcb_intern_atom_reply(x.get(), cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

xcb_screen_t* screenAt(xcb_connection_t* connection, int number) {
    auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0 && i < number; ++i) {
        xcb_screen_next(&it);
    }
    return it.rem > 0 ? it.data : nullptr;
}

// XRes 1.2 brought the client-id query; the server wants the version asked for before it is used.
bool queryClientIdSupport(XConnection& x) {
    const auto* extension = xcb_get_extension_data(x.get(), &xcb_res_id);
    if (extension == nullptr || !extension->present) {
        return false;
    }
    const auto cookie = x.sent(xcb_res_query_version(x.get(), 1, 2));
    x.awaiting(cookie.sequence);
    auto* reply = xcb_res_query_version_reply(x.get(), cookie, nullptr);
    const bool supported =
        reply && (reply->server_major > 1 || (reply->server_major == 1 && reply->server_minor >= 2));
    std::free(reply);
    return supported;
}

} // namespace

XConnection::XConnection(std::string displayName) : displayName_(std::move(displayName)) {}

XConnection::~XConnection() {
    disconnect();
}

bool XConnection::ensureConnected() {
    if (!broken()) {
        return true;
    }
    disconnect();
    return connect();
}

bool XConnection::connect() {
    connection_ = xcb_connect(displayName_.empty() ? nullptr : displayName_.c_str(), &screenNumber_);
    // Sequence numbers start again with a new connection.
    lastSent_ = 0;
    roundTripBarrier_ = 0;
    const xcb_screen_t* screen =
        xcb_connection_has_error(connection_) ? nullptr : screenAt(connection_, screenNumber_);
    if (screen == nullptr) {
        disconnect();
        return false;
    }
    root_ = screen->root;

    auto* ewmhCookies = xcb_ewmh_init_atoms(connection_, &ewmh_);
    if (ewmhCookies == nullptr) {
        disconnect();
        return false;
    }
    const auto wmStateCookie = internAtom(*this, "WM_STATE");
    const auto changeStateCookie = internAtom(*this, "WM_CHANGE_STATE");
    const auto applicationIdCookie = internAtom(*this, "_GTK_APPLICATION_ID");
    awaiting(ewmhCookies[0].sequence);
    // On failure this wipes the ewmh state itself.
    ewmhReady_ = xcb_ewmh_init_atoms_replies(&ewmh_, ewmhCookies, nullptr) != 0;
    wmState_ = internedAtom(*this, wmStateCookie);
    wmChangeState_ = internedAtom(*this, changeStateCookie);
    // Only GTK sets it; a server where no client ever named it still hands out the atom.
    gtkApplicationId_ = internedAtom(*this, applicationIdCookie);
    if (!ewmhReady_ || wmState_ == XCB_NONE || wmChangeState_ == XCB_NONE) {
        disconnect();
        return false;
    }
    hasClientIds_ = queryClientIdSupport(*this);
    ++generation_;
    return true;
}

void XConnection::disconnect() {
    if (ewmhReady_) {
        xcb_ewmh_connection_wipe(&ewmh_);
        ewmhReady_ = false;
    }
    if (connection_) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
    }
    hasClientIds_ = false;
}

void XConnection::awaiting(unsigned int sequence) {
    // Sequence numbers wrap; the signed difference keeps the comparison right across the wrap.
    if (static_cast<std::int32_t>(sequence - roundTripBarrier_) > 0) {
        ++roundTrips_;
        roundTripBarrier_ = lastSent_;
    }
}

void XConnection::flush() {
    if (connection_) {
        xcb_flush(connection_);
    }
}

void XConnection::takeEvents(const std::function<void(const xcb_generic_event_t&)>& take) {
    if (!connection_) {
        return;
    }
    while (auto* event = xcb_poll_for_event(connection_)) {
        take(*event);
        std::free(event);
    }
}

} // namespace tallowby::platform::x11
