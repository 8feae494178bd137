#pragma once
// The XDG desktop entry that starts the program at log-on: a folder build's companion, or an
// installed program itself.
#include <filesystem>
#include <string>

namespace tallowby::platform {

// The entry's file name in an autostart folder.
inline constexpr const char* kAutostartEntryName = "tallowby.desktop";

// One argument of an Exec key, quoted and escaped as the Desktop Entry Specification asks, so that
// any folder name (spaces, quotes, "$", "%", backslashes) reaches the launcher unchanged.
std::string desktopExecArgument(const std::string& argument);

// The whole entry, LF line ends, starting program (an absolute path), and skipped by a desktop
// session while no program is at that path (TryExec).
std::string autostartDesktopEntry(const std::filesystem::path& program);

} // namespace tallowby::platform
