#include "hosts_request.h"

#include "store/host_names.h"

#include <algorithm>

namespace tallowby::hosts_helper {
namespace {

// The line as it can be shown on one line of a message: anything but printable ASCII as \xNN,
// and a long one cut short.
std::string shown(std::string_view line) {
    constexpr std::size_t kShownLength = 80;
    std::string text;
    for (const char c : line.substr(0, kShownLength)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\') {
            text += c;
            continue;
        }
        constexpr char kHex[] = "0123456789abcdef";
        text += "\\x";
        text += kHex[byte >> 4];
        text += kHex[byte & 0xf];
    }
    if (line.size() > kShownLength)
        text += "...";
    return text;
}

} // namespace

HostsRequest readHostsRequest(std::string_view input) {
    HostsRequest request;
    if (input.size() > kMaxRequestBytes) {
        request.refusal = "the request is larger than " + std::to_string(kMaxRequestBytes) + " bytes";
        return request;
    }
    std::size_t lineNumber = 0;
    while (!input.empty()) {
        ++lineNumber;
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(std::min(end + 1, input.size()));
        if (!store::isPlainHostName(line)) {
            request.sites.clear();
            request.refusal =
                "line " + std::to_string(lineNumber) + " is not a plain host name: \"" + shown(line) + "\"";
            return request;
        }
        request.sites.emplace_back(line);
    }
    return request;
}

} // namespace tallowby::hosts_helper
