// tallowby_start (Tallowby_Start.exe on Windows): the program the autostart entry runs at log-on. It
// starts the program ("tallowby", "tallowby.exe") from its own folder and ends at once, so the
// session's start-up does not wait for the program.
#include <cstring>
#include <filesystem>
#include <iostream>

#include "os/files.h"
#include "platform/detached_spawn.h"
#include "platform/own_folder.h"
#include "platform/system/program_place.h"

int main() {
    using namespace tallowby::platform;
    const std::filesystem::path folder = ownExecutableFolder();
    if (folder.empty()) {
        std::cerr << "tallowby_start: cannot find its own folder\n";
        return 1;
    }
    const std::filesystem::path program = folder / kProgramName;
    // Checked first, so a missing program is reported with its path rather than as a failed start.
    int error = tallowby::os::accessError(program, tallowby::os::Access::Run);
    if (error == 0) {
        error = spawnDetached(program, {}).error;
    }
    if (error != 0) {
        std::cerr << "tallowby_start: cannot start " << program.string() << ": " << std::strerror(error)
                  << "\n";
        return 1;
    }
    return 0;
}
