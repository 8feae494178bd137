#pragma once
// What a window sweep does to each window, decided without any window system. The platform layer
// walks the real windows and asks these rules how many commands each window gets. The program's own
// windows never reach these rules: the platform layer spares them by their process, which no other
// program can take on, where a title or a file name could be copied by anyone.
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::engine {

enum class WindowCommand { Minimize, Close };

enum class SweepKind { WholeDayBlock, SessionBlock, SessionFocus };

struct SweepRule {
    SweepKind kind = SweepKind::WholeDayBlock;
    // WholeDayBlock: the whole-day process list. Session sweeps: the session's process array as
    // SplitEntryList gives it (empty slots included; an empty slot matches no name).
    std::vector<std::string> names;
    // Session sweeps only: the whole-day Focus list when it applies today, else empty.
    std::vector<std::string> wholeDayFocusNames;
    WindowCommand command = WindowCommand::Minimize;
};

// Whether a sweep looks at a window at all: it must be visible and have a title. Whatever the title
// says: a window called like the program, or like the desktop, is judged like any other.
bool windowConsidered(std::string_view title, bool visible);

// How many times the rule's command is posted to a window owned by a process of this name
// (0 = spared). Block sweeps post once per matching list entry; Focus posts at most once.
int commandsForWindow(const SweepRule& rule, const std::string& processName);

} // namespace tallowby::engine
