#include "system_clock.h"

#include <QDateTime>

namespace tallowby::ui {

engine::LocalDateTime SystemClock::now() const {
    const QDateTime current = QDateTime::currentDateTime();
    const QDate date = current.date();
    engine::LocalDateTime result;
    result.year = date.year();
    result.month = date.month();
    result.day = date.day();
    result.weekDay = date.dayOfWeek() % 7 + 1; // Qt counts Monday = 1 .. Sunday = 7
    result.msOfDay = current.time().msecsSinceStartOfDay();
    return result;
}

} // namespace tallowby::ui
