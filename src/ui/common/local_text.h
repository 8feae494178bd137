#pragma once
// The rule files hold single-byte text in the system's code page; the widgets hold QStrings. These
// two are the only crossing points, so a profile name or a process name survives a round trip.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

namespace tallowby::ui {

inline QString fromBytes(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// File names are the system's own: bytes on Linux, UTF-16 on Windows (where a narrow path would go
// through a code page and lose what it lacks).
inline std::filesystem::path localPath(const QString& text) {
#ifdef Q_OS_WIN
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

inline QString pathText(const std::filesystem::path& path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

} // namespace tallowby::ui
