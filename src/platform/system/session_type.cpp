#include "platform/system/session_type.h"

#include <cstdlib>
#include <string_view>

namespace tallowby::platform {

bool isWaylandSession(const char* xdgSessionType, const char* waylandDisplay) {
    const std::string_view type = xdgSessionType ? xdgSessionType : "";
    if (type == "wayland")
        return true;
    // A session that says it is X11 is, whatever a stray variable claims.
    if (type == "x11")
        return false;
    return waylandDisplay != nullptr && *waylandDisplay != '\0';
}

bool runsInWaylandSession() {
    return isWaylandSession(std::getenv("XDG_SESSION_TYPE"), std::getenv("WAYLAND_DISPLAY"));
}

} // namespace tallowby::platform
