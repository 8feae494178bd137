// The hosts writer's file operations that every system shares: the floor's.
#include "platform/hosts_io.h"

#include <cerrno>

namespace tallowby::platform::hosts_io {

void createReadableFile(const std::filesystem::path& path) {
    try {
        os::UniqueFd fd = os::createExclusive(path, os::NewFileMode::ReadableByAll);
        if (const int error = fd.closeChecked())
            os::throwFileError(path, error);
    } catch (const os::FileError& error) {
        if (error.code() != EEXIST)
            throw;
    }
}

} // namespace tallowby::platform::hosts_io
