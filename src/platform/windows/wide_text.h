#pragma once
// Between the UTF-8 the program keeps its text in and the UTF-16 the Win32 calls take, by the
// floor's one conversion for paths.
#include <filesystem>
#include <string>
#include <string_view>

#include "os/path_text.h"

namespace tallowby::platform::windows {

inline std::wstring wideOf(std::string_view utf8) {
    return os::pathFromUtf8(utf8).wstring();
}

inline std::string utf8Of(std::wstring_view wide) {
    return os::utf8Of(std::filesystem::path(wide));
}

} // namespace tallowby::platform::windows
