#pragma once
// Commands posted to other programs' windows. Posting never waits for the target: the program that
// owns the window handles the command later, or ignores it.
#include "engine/sweep_rules.h"
#include "platform/window_list.h"

namespace tallowby::platform {

using engine::WindowCommand;

class WindowCommander {
  public:
    virtual ~WindowCommander() = default;
    // Failures (a window that is gone, a lost connection) are ignored: the next sweep tries again.
    virtual void post(WindowId window, WindowCommand command) = 0;
};

} // namespace tallowby::platform
