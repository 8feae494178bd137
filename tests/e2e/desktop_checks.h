#pragma once
// What a test reads off its display and how it waits on it, beyond the shared X probe.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/x_session.h"

namespace tallowby::e2e {

// The mapped windows whose title matches the regular expression (xdotool's search).
std::vector<std::uint32_t> visibleWindowsNamed(const testsupport::XSession& session,
                                               const std::string& titlePattern);
// The mapped windows whose WM_CLASS instance name matches: a program's windows, its tray icon and
// its pop-up menus included, which carry no title of their own.
std::vector<std::uint32_t> visibleWindowsOfClass(const testsupport::XSession& session,
                                                 const std::string& instancePattern);

// Asks the window manager to close the window, as a task bar's close button does.
void requestClose(const testsupport::XSession& session, std::uint32_t window);

// Polls the condition for the whole duration: false as soon as it fails once. Used after the
// program has visibly acted, to show that it leaves something else alone over later ticks.
bool holdsFor(const std::function<bool()>& condition, std::chrono::milliseconds duration);

} // namespace tallowby::e2e
