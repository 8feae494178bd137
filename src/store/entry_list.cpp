#include "store/entry_list.h"

namespace tallowby::store {

std::vector<std::string> readEntryList(std::string_view line) {
    std::vector<std::string> entries;
    for (;;) {
        const std::size_t end = line.find(';');
        if (end == std::string_view::npos || end < 4)
            return entries;
        entries.emplace_back(line.substr(0, end));
        line.remove_prefix(end + 1);
    }
}

std::string writeEntryList(const std::vector<std::string>& entries) {
    std::string line;
    for (const auto& entry : entries) {
        line += entry;
        line += ';';
    }
    return line;
}

} // namespace tallowby::store
