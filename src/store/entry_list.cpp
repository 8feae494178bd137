#include "store/entry_list.h"

#include "store/rule_limits.h"

namespace tallowby::store {

std::vector<std::string> readEntryList(std::string_view line) {
    std::vector<std::string> entries;
    // Every entry is kept, however short: "vlc" is as much a program as "firefox-esr". Lists were
    // once read only up to the first entry shorter than four characters, which silently dropped that
    // entry and every one after it.
    for (std::size_t end = line.find(';'); end != std::string_view::npos && entries.size() < kMaxListEntries;
         end = line.find(';')) {
        if (end > 0)
            entries.emplace_back(line.substr(0, end));
        line.remove_prefix(end + 1);
    }
    return entries;
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
