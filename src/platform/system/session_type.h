#pragma once
// Which kind of desktop session the program runs in. Under Wayland the X11 window list holds only
// the programs that run under XWayland, so native Wayland programs' windows are out of reach.
namespace tallowby::platform {

// From the two variables a desktop session sets: XDG_SESSION_TYPE ("wayland", "x11", ...) and
// WAYLAND_DISPLAY (set inside a Wayland session, also when the session type is not given).
bool isWaylandSession(const char* xdgSessionType, const char* waylandDisplay);

// The same for this process's environment.
bool runsInWaylandSession();

} // namespace tallowby::platform
