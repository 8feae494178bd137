#pragma once
// Other programs' top-level windows through Win32: listed by EnumWindows, minimised and closed by
// posted messages, which never wait for the window's program.
#include <vector>

#include "platform/window_commands.h"
#include "platform/window_list.h"

namespace tallowby::platform::windows {

class Win32WindowList : public WindowLister {
  public:
    std::vector<TopLevelWindow> topLevelWindows() override;
};

class Win32WindowCommander : public WindowCommander {
  public:
    void post(WindowId window, WindowCommand command) override;
};

} // namespace tallowby::platform::windows
