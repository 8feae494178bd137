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

// Polls the condition for the whole duration: false as soon as it fails once. Used after the
// program has visibly acted, to show that it leaves something else alone over later ticks.
bool holdsFor(const std::function<bool()>& condition, std::chrono::milliseconds duration);

} // namespace tallowby::e2e
