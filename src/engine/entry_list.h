#pragma once
// The engine's reading of a process or website list line.
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::engine {

// Every non-empty entry of the text, in order, each followed by ";" in the text; text after the last
// ";" is ignored.
std::vector<std::string> SplitEntryList(std::string_view text);

// The non-empty entries only, in order: what a hosts write or a list box shows.
std::vector<std::string> filledEntries(const std::vector<std::string>& slots);

} // namespace tallowby::engine
