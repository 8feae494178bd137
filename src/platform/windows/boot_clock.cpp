// GetTickCount64 goes on while the machine sleeps or hibernates (QueryUnbiasedInterruptTime would
// not); its steps of 10-16 ms are far finer than the tick needs.
#include <windows.h>

#include "platform/boot_clock.h"

namespace tallowby::platform {

std::int64_t millisecondsSinceBoot() {
    return static_cast<std::int64_t>(GetTickCount64());
}

} // namespace tallowby::platform
