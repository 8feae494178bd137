#include "store/host_names.h"

#include <cstddef>

namespace tallowby::store {
namespace {

constexpr std::size_t kMaxNameLength = 253;
constexpr std::size_t kMaxLabelLength = 63;

bool isLabelCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

} // namespace

bool isPlainHostName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength)
        return false;
    std::size_t label = 0;
    for (const char c : name) {
        if (c == '.') {
            if (label == 0)
                return false;
            label = 0;
        } else if (!isLabelCharacter(c) || ++label > kMaxLabelLength) {
            return false;
        }
    }
    return label > 0;
}

} // namespace tallowby::store
