#include "engine/sweep_rules.h"

#include <algorithm>

#include "engine/program_choice.h"

namespace tallowby::engine {

namespace {

bool anyEntryNames(const std::vector<std::string>& entries, std::span<const std::string> programNames) {
    return std::ranges::any_of(entries,
                               [&](const std::string& entry) { return entryNames(entry, programNames); });
}

} // namespace

bool windowConsidered(std::string_view title, bool visible, bool normalOrDialog) {
    return visible && (!title.empty() || normalOrDialog);
}

bool entryNames(std::string_view entry, std::span<const std::string> programNames) {
    return !entry.empty() && std::ranges::any_of(programNames, [&](const std::string& name) {
        return namesMatch(entry, name);
    });
}

int commandsForWindow(const SweepRule& rule, std::span<const std::string> programNames) {
    if (rule.kind == SweepKind::SessionFocus) {
        const bool spared =
            anyEntryNames(rule.names, programNames) || anyEntryNames(rule.wholeDayFocusNames, programNames);
        return spared ? 0 : 1;
    }
    if (rule.kind == SweepKind::SessionBlock && anyEntryNames(rule.wholeDayFocusNames, programNames)) {
        return 0;
    }
    return static_cast<int>(std::ranges::count_if(
        rule.names, [&](const std::string& entry) { return entryNames(entry, programNames); }));
}

int commandsForWindow(const SweepRule& rule, const std::string& programName) {
    if (programName.empty()) {
        return commandsForWindow(rule, std::span<const std::string>());
    }
    return commandsForWindow(rule, std::span(&programName, 1));
}

} // namespace tallowby::engine
