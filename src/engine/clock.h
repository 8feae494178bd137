#pragma once
// The local date and time as the rules see it. The engine never reads the system clock itself:
// the window's timer passes a Clock in, tests pass a simulated one.
#include <cstdint>

namespace tallowby::engine {

struct LocalDateTime {
    int year = 2000;
    int month = 1;            // 1-12
    int day = 1;              // 1-31
    int weekDay = 7;          // 1 = Sunday ... 7 = Saturday
    std::int64_t msOfDay = 0; // milliseconds since local midnight, 0 .. 86 399 999
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

} // namespace tallowby::engine
