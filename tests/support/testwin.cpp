// testwin: a tiny X client for tests. Opens top-level windows with a given title, prints their ids
// (one decimal per line) once the server has them, and stays until each is closed through
// WM_DELETE_WINDOW or _NET_CLOSE_WINDOW.
//
//   testwin [--no-pid | --pid PID] [--wm-name-only] [--dock] [--unmapped] [--count N] TITLE
//
// --no-pid        leave _NET_WM_PID unset (the owner is then found only through XRes)
// --pid PID       set _NET_WM_PID to another process's id, as a window passing for another's would
// --wm-name-only  set WM_NAME (Latin-1 STRING) but no _NET_WM_NAME
// --dock          mark the windows _NET_WM_WINDOW_TYPE_DOCK
// --unmapped      create the windows but never map them
// --count N       open N windows titled "TITLE 1" .. "TITLE N" (default one, titled TITLE)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>
#include <xcb/xcb.h>

namespace {

struct Options {
    bool setPid = true;
    std::uint32_t claimedPid = 0; // 0: its own
    bool wmNameOnly = false;
    bool dock = false;
    bool mapped = true;
    int count = 1;
    std::string title;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--no-pid") {
            options.setPid = false;
        } else if (arg == "--pid" && i + 1 < argc) {
            options.claimedPid = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--wm-name-only") {
            options.wmNameOnly = true;
        } else if (arg == "--dock") {
            options.dock = true;
        } else if (arg == "--unmapped") {
            options.mapped = false;
        } else if (arg == "--count" && i + 1 < argc) {
            options.count = std::max(1, std::atoi(argv[++i]));
        } else if (options.title.empty() && !arg.starts_with("--")) {
            options.title = arg;
        } else {
            return false;
        }
    }
    return true;
}

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

// Titles come in as UTF-8; WM_NAME of type STRING is Latin-1.
std::string utf8ToLatin1(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte == 0xC2 || byte == 0xC3) && i + 1 < text.size()) {
            out.push_back(
                static_cast<char>(((byte & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F)));
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

void setProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type,
                 std::uint8_t format, std::uint32_t length, const void* data) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, format, length, data);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options) || options.title.empty()) {
        std::fprintf(
            stderr,
            "usage: testwin [--no-pid | --pid PID] [--wm-name-only] [--dock] [--unmapped] [--count N] "
            "TITLE\n");
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "testwin: cannot open the display\n");
        return 1;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_screen_t* screen = screens.data;
    const xcb_atom_t utf8 = intern(c, "UTF8_STRING");
    const xcb_atom_t netWmName = intern(c, "_NET_WM_NAME");
    const xcb_atom_t netWmPid = intern(c, "_NET_WM_PID");
    const xcb_atom_t wmProtocols = intern(c, "WM_PROTOCOLS");
    const xcb_atom_t wmDelete = intern(c, "WM_DELETE_WINDOW");
    const xcb_atom_t netClose = intern(c, "_NET_CLOSE_WINDOW");
    const xcb_atom_t windowType = intern(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t dockType = intern(c, "_NET_WM_WINDOW_TYPE_DOCK");

    // _NET_CLOSE_WINDOW goes to the root; watching the root lets a window close without a window
    // manager to pass the request on.
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &rootMask);

    std::vector<xcb_window_t> windows;
    const std::uint32_t pid =
        options.claimedPid != 0 ? options.claimedPid : static_cast<std::uint32_t>(::getpid());
    for (int i = 1; i <= options.count; ++i) {
        const std::string title =
            options.count == 1 ? options.title : options.title + " " + std::to_string(i);
        const xcb_window_t w = xcb_generate_id(c);
        const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 10 * i, 10 * i, 160, 90, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        const std::string latin1 = utf8ToLatin1(title);
        setProperty(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(latin1.size()),
                    latin1.data());
        if (!options.wmNameOnly) {
            setProperty(c, w, netWmName, utf8, 8, static_cast<std::uint32_t>(title.size()), title.data());
        }
        setProperty(c, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, 16, "testwin\0Testwin\0");
        setProperty(c, w, wmProtocols, XCB_ATOM_ATOM, 32, 1, &wmDelete);
        if (options.setPid) {
            setProperty(c, w, netWmPid, XCB_ATOM_CARDINAL, 32, 1, &pid);
        }
        if (options.dock) {
            setProperty(c, w, windowType, XCB_ATOM_ATOM, 32, 1, &dockType);
        }
        if (options.mapped) {
            xcb_map_window(c, w);
        }
        windows.push_back(w);
    }
    // A round trip: once it returns, the server has created, named and mapped every window.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    for (const xcb_window_t w : windows) {
        std::printf("%u\n", w);
    }
    std::fflush(stdout);

    while (!windows.empty()) {
        xcb_generic_event_t* event = xcb_wait_for_event(c);
        if (event == nullptr) {
            return 1; // the server went away
        }
        if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            const bool deleteRequest = message->type == wmProtocols && message->data.data32[0] == wmDelete;
            const bool closeRequest = message->type == netClose;
            const auto it = std::find(windows.begin(), windows.end(), message->window);
            if ((deleteRequest || closeRequest) && it != windows.end()) {
                xcb_destroy_window(c, *it);
                windows.erase(it);
            }
        }
        std::free(event);
    }
    // Another round trip, so the destruction reaches the server before the connection closes.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
    return 0;
}
