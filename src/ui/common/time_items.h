#pragma once
// The items of the hour and minute lists of every time a dialog asks for: two digits each, minutes
// in steps of five.
#include <QStringList>

#include "ui/common/for2.h"

namespace tallowby::ui {

inline constexpr int kMinuteStep = 5;

inline QStringList hourItems() {
    QStringList items;
    for (int hour = 0; hour < 24; ++hour)
        items << For2(QString::number(hour));
    return items;
}

inline QStringList minuteItems() {
    QStringList items;
    for (int minute = 0; minute < 60; minute += kMinuteStep)
        items << For2(QString::number(minute));
    return items;
}

} // namespace tallowby::ui
