#pragma once
#include "platform/window_commands.h"
#include "platform/x11/x_connection.h"

namespace tallowby::platform::x11 {

// Minimise asks the window manager to iconify the window (ICCCM WM_CHANGE_STATE); close asks it to
// close the window (_NET_CLOSE_WINDOW), which it passes on as WM_DELETE_WINDOW or, for a program
// that does not take part in that protocol, by disconnecting it.
class X11WindowCommander : public WindowCommander {
  public:
    explicit X11WindowCommander(XConnection& connection) : x_(connection) {}
    void post(WindowId window, WindowCommand command) override;

  private:
    XConnection& x_;
};

} // namespace tallowby::platform::x11
