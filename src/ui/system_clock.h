#pragma once
// The local wall clock, as the tick reads it.
#include <QDateTime>

#include "engine/clock.h"

namespace tallowby::ui {

// The date, the week day (1 = Sunday ... 7 = Saturday) and the milliseconds since midnight.
engine::LocalDateTime toLocalDateTime(const QDateTime& time);

class SystemClock : public engine::Clock {
  public:
    engine::LocalDateTime now() const override { return toLocalDateTime(QDateTime::currentDateTime()); }
};

} // namespace tallowby::ui
