#include "engine/sweep_rules.h"

#include <algorithm>

namespace tallowby::engine {

namespace {

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

bool windowConsidered(std::string_view title, bool visible) {
    return visible && !title.empty();
}

int commandsForWindow(const SweepRule& rule, const std::string& processName) {
    // A window whose program could not be found has an empty name: it matches no entry, so only a
    // Focus sweep acts on it.
    if (rule.kind == SweepKind::SessionFocus) {
        const bool spared = !processName.empty() &&
                            (listed(rule.names, processName) || listed(rule.wholeDayFocusNames, processName));
        return spared ? 0 : 1;
    }
    if (processName.empty()) {
        return 0;
    }
    if (rule.kind == SweepKind::SessionBlock && listed(rule.wholeDayFocusNames, processName)) {
        return 0;
    }
    return static_cast<int>(std::count(rule.names.begin(), rule.names.end(), processName));
}

} // namespace tallowby::engine
