#pragma once
// The sweep as it was first written, for comparison: the windows are walked one at a time, each
// visible titled window is looked up again by its title (the first window in Z order with that
// title) and named from a full process snapshot of its own. Every request is waited for before the
// next one is sent.
#include "engine/sweep_rules.h"
#include "platform/process_list.h"
#include "platform/window_commands.h"
#include "platform/x11/x_connection.h"

namespace tallowby::bench {

// Returns how many commands it posted.
int originalSweep(platform::x11::XConnection& x, platform::ProcessLister& processes,
                  platform::WindowCommander& commander, const engine::SweepRule& rule);

} // namespace tallowby::bench
