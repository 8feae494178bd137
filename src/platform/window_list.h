#pragma once
// Other programs' top-level windows as the sweeps and the process pickers see them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/process_list.h"

namespace tallowby::platform {

// Wide enough for an X window id and for a Windows HWND.
using WindowId = std::uint64_t;

struct TopLevelWindow {
    WindowId id = 0;
    std::string title; // UTF-8; empty when the window has none
    // Shown on screen or minimised: a minimised window still counts as visible, so a listed window
    // that was minimised keeps receiving the command.
    bool visible = false;
    ProcessId pid = kNoProcess; // the owning process, kNoProcess when it cannot be told
    // A program's ordinary window or dialog, as opposed to a menu, a tooltip or a splash screen: such
    // a window is on screen as the program's own even without a title.
    bool normalOrDialog = true;
    // What the window says of its program (WM_CLASS and, from GTK, the application id); empty where
    // the window system has no such thing or the window sets none.
    std::string instanceName{};
    std::string className{};
    std::string applicationId{};
};

class WindowLister {
  public:
    virtual ~WindowLister() = default;
    // Every top-level window in Z order, topmost first. Empty when the window system is unreachable.
    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;
};

} // namespace tallowby::platform
