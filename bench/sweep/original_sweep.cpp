#include "original_sweep.h"

#include "platform/window_lookup.h"
#include "platform/x11/window_queries.h"

namespace tallowby::bench {

namespace {

using namespace platform;
using namespace platform::x11;

std::string titleOf(XConnection& x, xcb_window_t window) {
    return collectTitle(x, requestTitle(x, window));
}

// FindWindow + GetWindowThreadProcessId: a fresh walk from the top, one title at a time.
ProcessId processIdByTitle(XConnection& x, const std::string& title) {
    for (const xcb_window_t window : windowsTopFirst(x)) {
        if (titleOf(x, window) != title) {
            continue;
        }
        const ProcessId pid = collectPid(x, requestPid(x, window));
        return pid != kNoProcess ? pid : collectClientPid(x, requestClientPid(x, window));
    }
    return kNoProcess;
}

} // namespace

int originalSweep(XConnection& x, ProcessLister& processes, WindowCommander& commander,
                  const engine::SweepRule& rule) {
    if (!x.ensureConnected()) {
        return 0;
    }
    int posted = 0;
    for (const xcb_window_t window : windowsTopFirst(x)) {
        const std::string title = titleOf(x, window);
        const WindowState state = collectState(x, requestState(x, window));
        if (state.desktopOrDock || !engine::windowConsidered(title, state.visible, false)) {
            continue;
        }
        const std::string name = GetProcessNameById(processes, processIdByTitle(x, title));
        for (int i = engine::commandsForWindow(rule, name); i > 0; --i) {
            commander.post(window, rule.command);
            ++posted;
        }
    }
    return posted;
}

} // namespace tallowby::bench
