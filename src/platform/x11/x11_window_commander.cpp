#include "platform/x11/x11_window_commander.h"

#include <xcb/xcb_icccm.h>

namespace tallowby::platform::x11 {

namespace {

constexpr std::uint32_t kToWindowManager =
    XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;

void requestIconic(XConnection& x, xcb_window_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = x.wmChangeState();
    event.data.data32[0] = XCB_ICCCM_WM_STATE_ICONIC;
    x.sent(xcb_send_event(x.get(), 0, x.root(), kToWindowManager, reinterpret_cast<const char*>(&event)));
}

void requestClose(XConnection& x, xcb_window_t window) {
    // Source "other" (a pager): the request stands for the user, as a click on the close button would.
    x.sent(xcb_ewmh_request_close_window(&x.ewmh(), x.screenNumber(), window, XCB_CURRENT_TIME,
                                         XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER));
}

} // namespace

void X11WindowCommander::post(WindowId window, WindowCommand command) {
    const auto target = static_cast<xcb_window_t>(window);
    x_.withConnection([&] {
        if (command == WindowCommand::Minimize) {
            requestIconic(x_, target);
        } else {
            requestClose(x_, target);
        }
        // Nothing waits for the window manager; the command only has to leave this process.
        x_.flush();
    });
}

} // namespace tallowby::platform::x11
