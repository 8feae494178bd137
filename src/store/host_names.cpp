#include "store/host_names.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tallowby::store {
namespace {

constexpr std::size_t kMaxNameLength = 253;
constexpr std::size_t kMaxLabelLength = 63;

bool isLabelCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// A label the resolver reads as a part of an address (inet_aton): decimal, octal (a leading 0) or
// hexadecimal (0x) digits.
bool isNumberLabel(std::string_view label) {
    if (label.size() > 1 && label[0] == '0' && (label[1] == 'x' || label[1] == 'X'))
        return std::ranges::all_of(label.substr(2), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        });
    return std::ranges::all_of(label, [](char c) { return c >= '0' && c <= '9'; });
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

} // namespace

bool isPlainHostName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength)
        return false;
    std::vector<std::string_view> labels;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('.', start), name.size());
        const std::string_view label = name.substr(start, end - start);
        // A label may not begin or end with "-": the helper's and the resolver's programs would take
        // a leading one for an option.
        if (label.empty() || label.size() > kMaxLabelLength || label.front() == '-' || label.back() == '-' ||
            !std::ranges::all_of(label, isLabelCharacter))
            return false;
        labels.push_back(label);
        start = end + 1;
    }
    // A last label of digits alone makes an address (10.0.0.1), which no host name is: blocking it
    // would take a machine's address for a name; so does a name of numbers alone in any of the forms
    // the resolver reads (0x7f.0x1, 0x7f000001, 2130706433, 1.2.3.0x10).
    if (std::ranges::all_of(labels.back(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (std::ranges::all_of(labels, isNumberLabel))
        return false;
    // One label (com, localhost) names a top-level domain or a machine of the local network, and the
    // loopback names (localhost, localhost.localdomain, a.localhost, ip6-localhost) this machine.
    if (labels.size() < 2 || sameText(labels.front(), "localhost") || sameText(labels.back(), "localhost") ||
        (labels.front().size() > 4 && sameText(labels.front().substr(0, 4), "ip6-")))
        return false;
    return true;
}

} // namespace tallowby::store
