#include "hosts_request.h"

#include "store/host_names.h"

#include <algorithm>
#include <optional>

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

// Seconds since the epoch, in decimal digits; nothing for anything else, or for more digits than any
// time this side of the year 33658 needs.
std::optional<std::int64_t> lockTime(std::string_view text) {
    constexpr std::size_t kMostDigits = 12;
    if (text.empty() || text.size() > kMostDigits ||
        !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t seconds = 0;
    for (const char c : text)
        seconds = seconds * 10 + (c - '0');
    return seconds;
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
        if (++lineNumber > kMostPartSites) {
            request.block = {};
            request.refusal = "the request names more than " + std::to_string(kMostPartSites) +
                              " websites, more than one user's rules can ask for at once";
            return request;
        }
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(std::min(end + 1, input.size()));
        const std::size_t blank = std::min(line.find(' '), line.size());
        const std::string_view site = line.substr(0, blank);
        const std::optional<std::int64_t> until =
            blank < line.size() ? lockTime(line.substr(blank + 1)) : std::optional<std::int64_t>(0);
        if (!store::isPlainHostName(site) || !until) {
            request.block = {};
            request.refusal =
                "line " + std::to_string(lineNumber) + " is not a plain host name: \"" + shown(line) + "\"";
            return request;
        }
        request.block.sites.emplace_back(site);
        if (*until != 0)
            request.block.lockedUntil[std::string(site)] = *until;
    }
    return request;
}

} // namespace tallowby::hosts_helper
