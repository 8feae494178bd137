#pragma once
#include "platform/window_list.h"
#include "platform/x11/x_connection.h"

namespace tallowby::platform::x11 {

// Lists the managed top-level windows without waiting on each one: the requests for every window
// are sent first and the replies collected after, so a listing costs two round trips however many
// windows there are.
class X11WindowList : public WindowLister {
  public:
    explicit X11WindowList(XConnection& connection) : x_(connection) {}
    std::vector<TopLevelWindow> topLevelWindows() override;

  private:
    XConnection& x_;
};

} // namespace tallowby::platform::x11
