#pragma once
// The name safe replacement gives its temporary file: the floor writes under it, the store
// recognises the ones a killed writer left behind.
#include <cstddef>
#include <string>
#include <string_view>

namespace tallowby::os {

// "." + the first 200 bytes of name (room for the rest within a 255-byte file name) + "\" + a
// suffix of kTemporarySuffixLength letters or digits. No profile's file can be named so: a profile
// name never holds a backslash.
inline constexpr std::size_t kTemporarySuffixLength = 6;
inline constexpr std::size_t kTemporaryNameKept = 200;
inline constexpr char kTemporarySeparator = '\\';

inline std::string temporaryName(std::string_view name, std::string_view suffix) {
    return "." + std::string(name.substr(0, kTemporaryNameKept)) + kTemporarySeparator + std::string(suffix);
}

} // namespace tallowby::os
