#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/window_list.h"
#include "platform/x11/x_connection.h"

namespace tallowby::platform::x11 {

// Lists the managed top-level windows without waiting on each one: the requests for every window
// are sent first and the replies collected after, so a listing costs two round trips however many
// windows there are.
//
// A listing is kept while nothing it reports has changed. The server tells of every change that
// would make a listing differ (a window made, mapped, unmapped, restacked, renamed, minimised or
// destroyed), as the list asks it to for the root window and for every window it lists. So the
// sweeps of a desktop that stays as it is cost no request at all.
class X11WindowList : public WindowLister {
  public:
    explicit X11WindowList(XConnection& connection) : x_(connection) {}
    std::vector<TopLevelWindow> topLevelWindows() override;

  private:
    XConnection& x_;
    // The connection on which the root window is watched.
    std::uint64_t watching_ = 0;
    std::optional<std::vector<TopLevelWindow>> kept_;
};

} // namespace tallowby::platform::x11
