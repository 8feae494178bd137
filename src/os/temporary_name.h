#pragma once
// The name safe replacement gives its temporary file: the floor writes under it, the store
// recognises the ones a killed writer left behind.
#include <cstddef>
#include <string>
#include <string_view>

namespace tallowby::os {

// "." + the first 200 bytes of name (room for the rest within a 255-byte file name) + a separator + a
// suffix of kTemporarySuffixLength letters or digits. No profile's file can be named so: a profile
// name never holds a backslash nor a control character. On Windows a backslash separates folders,
// so there the separator is DEL, which a Windows file name may hold.
inline constexpr std::size_t kTemporarySuffixLength = 6;
inline constexpr std::size_t kTemporaryNameKept = 200;
#ifdef _WIN32
inline constexpr char kTemporarySeparator = '\x7f';
#else
inline constexpr char kTemporarySeparator = '\\';
#endif

inline std::string temporaryName(std::string_view name, std::string_view suffix) {
    return "." + std::string(name.substr(0, kTemporaryNameKept)) + kTemporarySeparator + std::string(suffix);
}

} // namespace tallowby::os
