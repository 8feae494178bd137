#pragma once
// The seven week-day check boxes of every window that edits rules, Sunday first as the files store
// the days.
#include <QCheckBox>
#include <array>

#include "store/week_days.h"
#include "ui/common/named_widgets.h"

namespace tallowby::ui {

using DayBoxes = std::array<QCheckBox*, 7>;

// Creates the boxes into their members, captioned "Sun" to "Sat".
inline DayBoxes createDayBoxes(const std::array<Slot<QCheckBox>, 7>& days) {
    static const char* const captions[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    DayBoxes boxes{};
    for (std::size_t day = 0; day < days.size(); ++day)
        boxes[day] = days[day].create(QString::fromLatin1(captions[day]));
    return boxes;
}

inline void showWeekDays(const DayBoxes& boxes, const store::WeekDays& days) {
    for (std::size_t day = 0; day < boxes.size(); ++day)
        boxes[day]->setChecked(days[day]);
}

inline store::WeekDays weekDaysOf(const DayBoxes& boxes) {
    store::WeekDays days{};
    for (std::size_t day = 0; day < boxes.size(); ++day)
        days[day] = boxes[day]->isChecked();
    return days;
}

} // namespace tallowby::ui
