#pragma once
// Real time as the tick measures it: milliseconds since the system started, the time it spent
// suspended included, never moved by setting the wall clock. Counting the suspended time is what
// tells a sleep (the wall clock and this count both went on) from a wall clock set forward (only
// the wall clock moved); a count that stops during a suspend would make every sleep look like the
// clock set forward by its length.
#include <cstdint>

namespace tallowby::platform {

std::int64_t millisecondsSinceBoot();

} // namespace tallowby::platform
