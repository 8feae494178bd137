#include "platform/window_sweep.h"

#include <unordered_map>

namespace tallowby::platform {

namespace {

using NameIndex = std::unordered_map<ProcessId, std::string>;

NameIndex indexByPid(ProcessSnapshot snapshot) {
    NameIndex index;
    index.reserve(snapshot.size());
    for (auto& process : snapshot) {
        // try_emplace keeps the first process listed under an id, as a by-id lookup would find it.
        index.try_emplace(process.pid, std::move(process.name));
    }
    return index;
}

std::string nameOf(const NameIndex& index, ProcessId pid) {
    const auto found = index.find(pid);
    return found == index.end() ? std::string() : found->second;
}

} // namespace

std::vector<PostedCommand> WindowSweep(const SweepPlatform& platform, const engine::SweepRule& rule,
                                       const OwnProgram& self) {
    engine::SweepRule judged = rule;
    if (judged.ownExecutableName.empty()) {
        judged.ownExecutableName = self.executableName;
    }
    const auto windows = platform.windows.topLevelWindows();
    const auto names = indexByPid(platform.processes.snapshot());

    std::vector<PostedCommand> posted;
    for (const auto& window : windows) {
        if (!engine::windowConsidered(window.title, window.visible, self.caption)) {
            continue;
        }
        // Each window is judged by the process that owns it, never by another window that happens
        // to carry the same title.
        std::string name = window.pid == kNoProcess ? std::string() : nameOf(names, window.pid);
        const int times = engine::commandsForWindow(judged, name);
        for (int i = 0; i < times; ++i) {
            platform.commander.post(window.id, judged.command);
            posted.push_back({window.id, window.pid, name, judged.command});
        }
    }
    return posted;
}

} // namespace tallowby::platform
