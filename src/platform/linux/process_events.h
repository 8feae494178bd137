#pragma once
// The kernel's word on processes as they are made, run another program, rename themselves and end
// (the process connector). Only a privileged process of the machine's own namespaces may listen;
// elsewhere nothing listens and /proc has to be read instead.
#include <vector>

#include "os/descriptor.h"
#include "platform/process_list.h"

namespace tallowby::platform {

class ProcessEvents {
  public:
    // Starts listening; see listening() for whether the kernel accepted.
    ProcessEvents();
    ~ProcessEvents();
    ProcessEvents(const ProcessEvents&) = delete;
    ProcessEvents& operator=(const ProcessEvents&) = delete;

    bool listening() const { return socket_.valid(); }

    struct Change {
        ProcessId pid = kNoProcess;
        bool ended = false; // else it was made, or runs another program, or took another name
    };
    struct Changes {
        std::vector<Change> changes; // in the order they happened
        // The kernel dropped some (more came than the socket holds): what is known may be wrong.
        bool lost = false;
    };
    // Everything told since the last call; never waits.
    Changes take();

  private:
    os::UniqueFd socket_;
};

} // namespace tallowby::platform
