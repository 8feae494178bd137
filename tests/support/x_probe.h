#pragma once
// A test's own view of an X display, to check what the code under test did there.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <xcb/xcb.h>

#include "support/wait_until.h"

namespace tallowby::testsupport {

class XProbe {
  public:
    // Throws std::runtime_error when the display cannot be reached.
    explicit XProbe(const std::string& display);
    ~XProbe();
    XProbe(const XProbe&) = delete;
    XProbe& operator=(const XProbe&) = delete;

    bool windowManagerRunning();
    // Maps a window of its own until the window manager takes one, then destroys it. A window
    // manager announces itself before it is ready to take windows; this is the proof that it is.
    bool windowManagerTakesWindows(std::chrono::milliseconds timeout);
    bool trayHostRunning();
    // The windows the window manager manages, topmost first.
    std::vector<std::uint32_t> managedTopFirst();
    bool isManaged(std::uint32_t window);
    // Asks the window manager to activate the window, as a pager would, and waits until it is the
    // topmost managed window. false when that did not happen in time.
    bool raise(std::uint32_t window);
    // ICCCM WM_STATE: 1 normal, 3 iconic; nullopt when the window has none (or is gone).
    std::optional<std::uint32_t> wmState(std::uint32_t window);
    // Sets a UTF8_STRING property of any window, as the window's own program would (a title:
    // _NET_WM_NAME); returns once the server has it.
    void setText(std::uint32_t window, const std::string& property, const std::string& text);

  private:
    xcb_atom_t atom(const std::string& name);
    std::vector<std::uint32_t> property32(xcb_window_t window, xcb_atom_t property, xcb_atom_t type);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    int screen_ = 0;
};

} // namespace tallowby::testsupport
