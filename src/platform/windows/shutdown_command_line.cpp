// What the system's shutdown amounts to on Windows, as the sandbox logs it.
#include <string>
#include <vector>

#include "platform/shutdown.h"

namespace tallowby::platform {

const std::vector<std::string>& shutdownCommandLine() {
    // What WindowsShutdown's InitiateSystemShutdownExW does, as Windows' own shutdown command says it.
    static const std::vector<std::string> line{"shutdown.exe", "/s", "/f", "/t", "60"};
    return line;
}

const std::vector<std::string>& cancelShutdownCommandLine() {
    static const std::vector<std::string> line{"shutdown.exe", "/a"};
    return line;
}

} // namespace tallowby::platform
