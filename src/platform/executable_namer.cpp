#include "platform/executable_namer.h"

namespace tallowby::platform {

ProgramNames ExecutableNamer::namesOf(const TopLevelWindow& window) {
    ProgramNames names;
    if (window.pid == kNoProcess)
        return names;
    names.executable = processes_.nameOf(window.pid);
    if (!names.executable.empty())
        names.all.push_back(names.executable);
    return names;
}

} // namespace tallowby::platform
