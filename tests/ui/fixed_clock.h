#pragma once
// A clock that says what the test sets, and the Monday the window tests live on.
#include <cstdint>

#include "engine/clock.h"

namespace tallowby::test {

class FixedClock : public engine::Clock {
  public:
    engine::LocalDateTime time;
    engine::LocalDateTime now() const override { return time; }

    void advanceMs(std::int64_t ms) { time.msOfDay += ms; }
};

// Monday 7 December 2026 at the given time.
inline engine::LocalDateTime monday(int hour, int minute, int second = 0, int ms = 0) {
    return {2026, 12, 7, 2, ((hour * 60LL + minute) * 60 + second) * 1000 + ms};
}

} // namespace tallowby::test
