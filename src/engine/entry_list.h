#pragma once
// The engine's reading of a process or website list line.
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::engine {

// One slot per ";" in the text. Entries are taken from the front while the text before the next
// ";" has at least four characters; the first shorter entry (an empty one included) ends the
// reading, and the remaining slots stay empty. Text after the last ";" is ignored. An empty slot
// matches no name.
std::vector<std::string> SplitEntryList(std::string_view text);

// The filled slots only, in order: what a hosts write or a list box shows.
std::vector<std::string> filledEntries(const std::vector<std::string>& slots);

} // namespace tallowby::engine
