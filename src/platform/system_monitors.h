#pragma once
// The programs "Block Task Manager" ends: every system monitor a user of Windows or of a Linux
// desktop could open to end Tallowby, graphical or in a terminal. One table, read by the
// process killer, the Options dialog and the help page.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::platform {

struct SystemMonitor {
    // What a user calls it ("GNOME System Monitor", "htop").
    std::string_view label;
    // The file names its process may run under, compared ignoring case: the executable's, the
    // script's for one an interpreter runs, the desktop file id where the desktop knows it by that.
    std::span<const std::string_view> programs;
    // It runs inside a terminal window: it is ended, the terminal stays.
    bool terminal = false;
};

// Graphical monitors first, then terminal ones, each group in the order users know them best.
std::span<const SystemMonitor> systemMonitors();

// Every program name of the table, each once.
const std::vector<std::string>& systemMonitorPrograms();

// The monitor a program name belongs to (ignoring case); nullptr for none.
const SystemMonitor* systemMonitorFor(std::string_view program);

// The labels, joined by ", ": graphical or terminal ones.
std::string systemMonitorLabels(bool terminal);

} // namespace tallowby::platform
