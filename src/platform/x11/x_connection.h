#pragma once
// One connection to the X server, opened on first use, kept for every later call and opened anew
// when it breaks (a restarted X server, a closed socket).
#include <cstdint>
#include <functional>
#include <string>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

namespace tallowby::platform::x11 {

class XConnection {
  public:
    // An empty display name means $DISPLAY.
    explicit XConnection(std::string displayName = {});
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    // Opens the connection unless a working one is open. false when the display cannot be reached;
    // the next call tries again.
    bool ensureConnected();
    // Runs the work on a working connection. A connection that broke since its last use shows it
    // only once it is used: the work then runs again on a fresh connection. false when no working
    // connection could be had.
    template <class Work> bool withConnection(Work&& work) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!ensureConnected()) {
                return false;
            }
            work();
            if (!broken()) {
                return true;
            }
        }
        return false;
    }
    // Whether the connection failed since it was opened (the socket closed, the server went away).
    bool broken() const { return connection_ == nullptr || xcb_connection_has_error(connection_) != 0; }

    xcb_connection_t* get() const { return connection_; }
    xcb_ewmh_connection_t& ewmh() { return ewmh_; }
    int screenNumber() const { return screenNumber_; }
    xcb_window_t root() const { return root_; }
    xcb_atom_t wmState() const { return wmState_; }
    xcb_atom_t wmChangeState() const { return wmChangeState_; }
    xcb_atom_t gtkApplicationId() const { return gtkApplicationId_; }
    // Whether the server answers XRes client-id queries (version 1.2 or later).
    bool hasClientIds() const { return hasClientIds_; }
    // Counts the connections opened: what was set up on the server for one (the events it sends)
    // must be set up again for the next.
    std::uint64_t generation() const { return generation_; }

    // Every request goes through sent(); every wait for a reply is announced with awaiting(). The
    // pair lets the connection count round trips: a wait is a new round trip only when it is for a
    // request sent after the previous round trip began.
    template <class Cookie> Cookie sent(Cookie cookie) {
        lastSent_ = cookie.sequence;
        return cookie;
    }
    void awaiting(unsigned int sequence);
    std::uint64_t roundTrips() const { return roundTrips_; }

    void flush();
    // Hands over and frees every event that has come: the events asked for, and the errors of
    // requests without a reply (a command to a window that is gone).
    void takeEvents(const std::function<void(const xcb_generic_event_t&)>& take);

  private:
    bool connect();
    void disconnect();

    std::string displayName_;
    xcb_connection_t* connection_ = nullptr;
    xcb_ewmh_connection_t ewmh_{};
    bool ewmhReady_ = false;
    int screenNumber_ = 0;
    xcb_window_t root_ = XCB_NONE;
    xcb_atom_t wmState_ = XCB_NONE;
    xcb_atom_t wmChangeState_ = XCB_NONE;
    xcb_atom_t gtkApplicationId_ = XCB_NONE;
    bool hasClientIds_ = false;
    std::uint64_t generation_ = 0;
    unsigned int lastSent_ = 0;
    unsigned int roundTripBarrier_ = 0;
    std::uint64_t roundTrips_ = 0;
};

} // namespace tallowby::platform::x11
