#pragma once
// What a window sweep does to each window, decided without any window system. The platform layer
// walks the real windows and asks these rules how many commands each window gets.
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
    // The program's own executable name as the platform reports it ("tallowby" on Linux). It is
    // spared like the fixed "Tallowby.exe", so the program's own pop-ups survive a Focus sweep.
    std::string ownExecutableName;
};

// The names a sweep never acts on, whatever its lists say.
const std::vector<std::string>& exemptNames(SweepKind kind);

// Whether a sweep spares this name: one of its exempt names or the program's own executable.
bool isExempt(const SweepRule& rule, const std::string& processName);

// Whether a sweep looks at a window at all: it must be visible, have a title, and be neither the
// desktop ("Program Manager") nor the program's own main window.
bool windowConsidered(std::string_view title, bool visible, std::string_view ownCaption);

// How many times the rule's command is posted to a window owned by a process of this name
// (0 = spared). Block sweeps post once per matching list entry; Focus posts at most once.
int commandsForWindow(const SweepRule& rule, const std::string& processName);

} // namespace tallowby::engine
