#pragma once
// File names are UTF-8 text in the rule files and the windows. On POSIX a path is its bytes as they
// are; on Windows std::filesystem::path widens a narrow string byte by byte, so a name is turned
// into a path (and back) as UTF-8 explicitly, or "Café" would become a different file.
#include <filesystem>
#include <string>
#include <string_view>

namespace tallowby::os {

inline std::filesystem::path pathFromUtf8(std::string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(std::string(text));
#endif
}

inline std::string utf8Of(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

} // namespace tallowby::os
