#include "engine/entry_list.h"

#include <algorithm>

#include "store/entry_list.h"

namespace tallowby::engine {

std::vector<std::string> SplitEntryList(std::string_view text) {
    return store::readEntryList(text);
}

std::vector<std::string> filledEntries(const std::vector<std::string>& slots) {
    std::vector<std::string> entries;
    std::copy_if(slots.begin(), slots.end(), std::back_inserter(entries),
                 [](const std::string& entry) { return !entry.empty(); });
    return entries;
}

} // namespace tallowby::engine
