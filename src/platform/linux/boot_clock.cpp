// CLOCK_BOOTTIME: CLOCK_MONOTONIC stands still while the machine is suspended, this one does not.
#include <ctime>

#include "platform/boot_clock.h"

namespace tallowby::platform {

std::int64_t millisecondsSinceBoot() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace tallowby::platform
