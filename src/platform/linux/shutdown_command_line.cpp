// What the system's shutdown is on Linux: the command SystemShutdown runs, and the sandbox logs.
#include <string>
#include <vector>

#include "platform/shutdown.h"

namespace tallowby::platform {

const std::vector<std::string>& shutdownCommandLine() {
    static const std::vector<std::string> line{"shutdown", "-P", "+1"};
    return line;
}

const std::vector<std::string>& cancelShutdownCommandLine() {
    static const std::vector<std::string> line{"shutdown", "-c"};
    return line;
}

} // namespace tallowby::platform
