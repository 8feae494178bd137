#pragma once
// The local wall clock, as the tick reads it.
#include "engine/clock.h"

namespace tallowby::ui {

class SystemClock : public engine::Clock {
  public:
    engine::LocalDateTime now() const override;
};

} // namespace tallowby::ui
