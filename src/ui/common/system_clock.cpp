#include "ui/common/system_clock.h"

namespace tallowby::ui {

engine::LocalDateTime toLocalDateTime(const QDateTime& time) {
    const QDate date = time.date();
    engine::LocalDateTime result;
    result.year = date.year();
    result.month = date.month();
    result.day = date.day();
    result.weekDay = date.dayOfWeek() % 7 + 1; // Qt counts Monday = 1 .. Sunday = 7
    result.msOfDay = time.time().msecsSinceStartOfDay();
    return result;
}

std::int64_t wallClockMs(const engine::LocalDateTime& time) {
    return engine::localMs(time);
}

std::int64_t epochSeconds(std::int64_t localMs) {
    const std::int64_t days = localMs / store::kMsPerDay - (localMs % store::kMsPerDay < 0 ? 1 : 0);
    const std::int64_t msOfDay = localMs - days * store::kMsPerDay;
    const QDateTime time(QDate(1970, 1, 1).addDays(days),
                         QTime::fromMSecsSinceStartOfDay(static_cast<int>(msOfDay)));
    return time.toSecsSinceEpoch();
}

} // namespace tallowby::ui
