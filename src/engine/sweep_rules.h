#pragma once
// What a window sweep does to each window, decided without any window system. The platform layer
// walks the real windows and asks these rules how many commands each window gets. The program's own
// windows never reach these rules: the platform layer spares them by their process, which no other
// program can take on, where a title or a file name could be copied by anyone.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::engine {

enum class WindowCommand { Minimize, Close };

enum class SweepKind { WholeDayBlock, SessionBlock, SessionFocus };

struct SweepRule {
    SweepKind kind = SweepKind::WholeDayBlock;
    // WholeDayBlock: the whole-day process list. Session sweeps: the session's process list as
    // SplitEntryList gives it.
    std::vector<std::string> names;
    // Session sweeps only: the whole-day Focus list when it applies today, else empty.
    std::vector<std::string> wholeDayFocusNames;
    WindowCommand command = WindowCommand::Minimize;
};

// Whether a sweep looks at a window at all: it must be visible, and have a title or be an ordinary
// window or dialog of a program (a window without a title is still a program's window on screen).
// Whatever the title says: a window called like the program, or like the desktop, is judged like
// any other.
bool windowConsidered(std::string_view title, bool visible, bool normalOrDialog);

// Whether a listed entry names a program known by these names: equal to one of them, ignoring the
// letter case of ASCII letters and white space ("Chromium" is "chromium", "libreoffice writer" is
// "LibreOffice Writer").
bool entryNames(std::string_view entry, std::span<const std::string> programNames);

// How many times the rule's command is posted to a window whose program is known by these names
// (0 = spared). Block sweeps post once per list entry naming the program; Focus posts at most once.
// A window whose program could not be found has no names: only a Focus sweep acts on it.
int commandsForWindow(const SweepRule& rule, std::span<const std::string> programNames);
int commandsForWindow(const SweepRule& rule, const std::string& programName);

} // namespace tallowby::engine
