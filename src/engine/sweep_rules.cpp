#include "engine/sweep_rules.h"

#include <algorithm>

namespace tallowby::engine {

namespace {

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

const std::vector<std::string>& exemptNames(SweepKind kind) {
    static const std::vector<std::string> wholeDayBlock{"explorer.exe", "Tallowby.exe"};
    static const std::vector<std::string> sessionBlock{"Tallowby.exe", "explorer.exe", "delphi32.exe"};
    static const std::vector<std::string> sessionFocus{"explorer.exe", "sidebar.exe", "delphi32.exe",
                                                       "Tallowby.exe"};
    switch (kind) {
    case SweepKind::SessionBlock:
        return sessionBlock;
    case SweepKind::SessionFocus:
        return sessionFocus;
    case SweepKind::WholeDayBlock:
        break;
    }
    return wholeDayBlock;
}

bool isExempt(const SweepRule& rule, const std::string& processName) {
    if (!rule.ownExecutableName.empty() && processName == rule.ownExecutableName) {
        return true;
    }
    return listed(exemptNames(rule.kind), processName);
}

bool windowConsidered(std::string_view title, bool visible, std::string_view ownCaption) {
    return visible && !title.empty() && title != "Program Manager" && title != ownCaption;
}

int commandsForWindow(const SweepRule& rule, const std::string& processName) {
    // A window whose program could not be found has an empty name: it matches no entry and no exempt
    // name, so only a Focus sweep acts on it.
    if (rule.kind == SweepKind::SessionFocus) {
        const bool spared =
            !processName.empty() && (isExempt(rule, processName) || listed(rule.names, processName) ||
                                     listed(rule.wholeDayFocusNames, processName));
        return spared ? 0 : 1;
    }
    if (processName.empty() || isExempt(rule, processName)) {
        return 0;
    }
    if (rule.kind == SweepKind::SessionBlock && listed(rule.wholeDayFocusNames, processName)) {
        return 0;
    }
    return static_cast<int>(std::count(rule.names.begin(), rule.names.end(), processName));
}

} // namespace tallowby::engine
