// The hosts writer's file operation of Windows's own.
#include "platform/hosts_io.h"

namespace tallowby::platform::hosts_io {

bool isMountPoint(const std::filesystem::path&) {
    // Windows mounts volumes on folders only: a file is always replaced, never rewritten in place.
    return false;
}

} // namespace tallowby::platform::hosts_io
