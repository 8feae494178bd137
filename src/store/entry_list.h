#pragma once
// Process and website lists stored in one line, each entry followed by ";".
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::store {

// The entries in line order: every non-empty text followed by ";". Text after the last ";" is
// ignored.
std::vector<std::string> readEntryList(std::string_view line);

// Every entry followed by ";"; an empty list is an empty line.
std::string writeEntryList(const std::vector<std::string>& entries);

} // namespace tallowby::store
