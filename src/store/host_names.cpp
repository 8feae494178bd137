#include "store/host_names.h"

#include <algorithm>
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
    std::size_t start = 0;
    bool lastAllDigits = false;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('.', start), name.size());
        const std::string_view label = name.substr(start, end - start);
        // A label may not begin or end with "-": the helper's and the resolver's programs would take
        // a leading one for an option.
        if (label.empty() || label.size() > kMaxLabelLength || label.front() == '-' || label.back() == '-' ||
            !std::ranges::all_of(label, isLabelCharacter))
            return false;
        lastAllDigits = std::ranges::all_of(label, [](char c) { return c >= '0' && c <= '9'; });
        start = end + 1;
    }
    // A last label of digits alone makes an address (10.0.0.1), which no host name is: blocking it
    // would take a machine's address for a name.
    return !lastAllDigits;
}

} // namespace tallowby::store
