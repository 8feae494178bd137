#pragma once
// The rule files hold single-byte text in the system's code page; the widgets hold QStrings. These
// two are the only crossing points, so a profile name or a process name survives a round trip.
#include <QString>
#include <string>

namespace tallowby::ui {

inline QString fromBytes(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

} // namespace tallowby::ui
