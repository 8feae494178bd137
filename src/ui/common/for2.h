#pragma once
// Two-digit hour and minute items: "7" becomes "07"; any text that is not exactly one character
// comes back unchanged.
#include <QString>

namespace tallowby::ui {

inline QString For2(const QString& text) {
    return text.size() == 1 ? QStringLiteral("0") + text : text;
}

} // namespace tallowby::ui
