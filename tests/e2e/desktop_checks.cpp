#include "desktop_checks.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <xcb/xcb.h>

namespace tallowby::e2e {

using namespace std::chrono_literals;

namespace {

std::vector<std::uint32_t> visibleWindows(const testsupport::XSession& session, const std::string& by,
                                          const std::string& pattern) {
    testsupport::ChildProcess search =
        session.start("xdotool", {"search", "--onlyvisible", by, pattern},
                      testsupport::SpawnOptions{.environment = {}, .captureStdout = true});
    std::vector<std::uint32_t> windows;
    while (const auto line = search.readLine(5s)) {
        if (!line->empty()) {
            windows.push_back(static_cast<std::uint32_t>(std::stoul(*line)));
        }
    }
    search.waitForExit(5s);
    return windows;
}

} // namespace

std::vector<std::uint32_t> visibleWindowsNamed(const testsupport::XSession& session,
                                               const std::string& titlePattern) {
    return visibleWindows(session, "--name", titlePattern);
}

std::vector<std::uint32_t> visibleWindowsOfClass(const testsupport::XSession& session,
                                                 const std::string& instancePattern) {
    return visibleWindows(session, "--classname", instancePattern);
}

void requestClose(const testsupport::XSession& session, std::uint32_t window) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(session.display().c_str(), &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        throw std::runtime_error("cannot reach " + session.display());
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    const char name[] = "_NET_CLOSE_WINDOW";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom ? atom->atom : XCB_NONE;
    message.data.data32[1] = 2; // the request comes from a pager or task bar
    std::free(atom);
    xcb_send_event(c, 0, screens.data->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    // A round trip, so the message is not lost with the connection.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

bool holdsFor(const std::function<bool()>& condition, std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    do {
        if (!condition()) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return condition();
}

} // namespace tallowby::e2e
