#pragma once
// Guessing which program a name that answers to nothing was meant to be, so the process picker can
// offer it before a typing slip goes into the rules. Plain text work, no platform calls.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::engine {

// The candidate that typed most likely meant, ignoring case: one a letter or two off ("chromum" for
// "chromium", "libreofice" for "libreoffice"), or the longer name a shortened one starts
// ("firefox" for "firefox-esr"), or one holding it; nothing when none is close. The candidate is
// given back as it was written.
std::optional<std::string> closestName(std::string_view typed, const std::vector<std::string>& candidates);

// Ignoring ASCII case, as program names are compared.
bool sameName(std::string_view a, std::string_view b);
std::string lowerName(std::string_view name);

} // namespace tallowby::engine
