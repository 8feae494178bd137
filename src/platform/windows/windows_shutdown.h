#pragma once
// The machine's shutdown through the system's own call: a minute's warning that Windows shows,
// running programs ended whether they agree or not, and the cancel that calls it off meanwhile.
#include "platform/shutdown.h"

namespace tallowby::platform::windows {

class WindowsShutdown : public ShutdownCommand {
  public:
    bool start() override;
    bool cancel() override;
};

} // namespace tallowby::platform::windows
