#include "platform/window_names.h"

#include <algorithm>
#include <array>
#include <deque>
#include <set>

#include "engine/program_choice.h"
#include "platform/program_command.h"

namespace tallowby::platform {

namespace {

using engine::sameName;

// Bounds on a terminal's process tree: deeper or wider than any real session, so a fork bomb in a
// terminal cannot make a sweep slow.
constexpr std::size_t kMostRunningIn = 256;

constexpr std::array kTerminals{
    "xterm",
    "uxterm",
    "gnome-terminal-server",
    "konsole",
    "xfce4-terminal",
    "lxterminal",
    "mate-terminal",
    "terminator",
    "tilix",
    "kitty",
    "alacritty",
    "urxvt",
    "rxvt",
    "st",
    "qterminal",
    "sakura",
    "terminology",
    "foot",
    "wezterm-gui",
    "x-terminal-emulator",
    "deepin-terminal",
    "kgx",
    "guake",
    "tilda",
    "cool-retro-term",
};

template <class Test>
void addEntries(std::vector<const DesktopEntry*>& found, const std::vector<DesktopEntry>& entries,
                Test test) {
    for (const DesktopEntry& entry : entries) {
        if (test(entry)) {
            found.push_back(&entry);
        }
    }
}

bool namesOneOf(std::string_view name, std::initializer_list<std::string_view> others) {
    return !name.empty() &&
           std::ranges::any_of(others, [&](std::string_view other) { return sameName(name, other); });
}

} // namespace

void addName(std::vector<std::string>& names, std::string_view name) {
    if (!name.empty() &&
        std::ranges::none_of(names, [&](const std::string& known) { return sameName(known, name); })) {
        names.emplace_back(name);
    }
}

bool knownTerminal(std::string_view executable) {
    return std::ranges::any_of(kTerminals,
                               [&](std::string_view terminal) { return sameName(executable, terminal); });
}

std::vector<const DesktopEntry*> entriesOfWindow(const std::vector<DesktopEntry>& entries,
                                                 const TopLevelWindow& window, std::string_view executable) {
    std::vector<const DesktopEntry*> found;
    addEntries(found, entries, [&](const DesktopEntry& entry) {
        return namesOneOf(entry.startupWmClass, {window.className, window.instanceName});
    });
    if (found.empty()) {
        addEntries(found, entries, [&](const DesktopEntry& entry) {
            return namesOneOf(entry.id, {window.applicationId, window.className, window.instanceName});
        });
    }
    // By the program alone only where Exec runs the program itself: an entry that runs a script
    // through python3 would otherwise claim every Python program.
    if (found.empty() && !isInterpreter(executable)) {
        addEntries(found, entries, [&](const DesktopEntry& entry) {
            return !entry.program.empty() && sameName(entry.program, executable);
        });
    }
    return found;
}

void WindowNamer::addProcessNames(ProcessId pid, const std::string& executable,
                                  std::vector<std::string>& names) {
    addName(names, executable);
    addName(names, bareProgramName(executable));
    if (isInterpreter(executable)) {
        for (const std::string& name : commandNames(executable, tree_.commandLine(pid))) {
            addName(names, name);
        }
    }
}

WindowNamer::Lasting WindowNamer::lastingNamesOf(const TopLevelWindow& window) {
    Lasting lasting;
    ProgramNames& names = lasting.names;
    if (window.pid != kNoProcess) {
        names.executable = processes_.nameOf(window.pid);
    }
    std::string module;
    if (!names.executable.empty()) {
        addProcessNames(window.pid, names.executable, names.all);
        if (isInterpreter(names.executable)) {
            const std::vector<std::string> command = tree_.commandLine(window.pid);
            const std::vector<std::string> run = commandNames(names.executable, command);
            names.script = run.empty() ? std::string() : run.front();
            module = commandModule(names.executable, command);
        }
    }
    for (const std::string* name : {&window.instanceName, &window.className, &window.applicationId}) {
        addName(names.all, *name);
    }
    lasting.terminal = knownTerminal(names.executable);
    if (entries_ != nullptr) {
        std::vector<const DesktopEntry*> found =
            entriesOfWindow(entries_->applications(), window, names.executable);
        if (found.empty() && !names.script.empty()) {
            found = entriesRunning(names.script, module);
        }
        for (const DesktopEntry* entry : found) {
            if (names.application.empty()) {
                names.application = entry->id;
            }
            addName(names.all, entry->id);
            for (const std::string& menuName : entry->menuNames) {
                addName(names.all, menuName);
            }
            if (!isInterpreter(entry->program)) {
                addName(names.all, entry->program);
            }
            lasting.terminal = lasting.terminal || entry->terminalEmulator;
        }
    }
    return lasting;
}

std::vector<const DesktopEntry*> WindowNamer::entriesRunning(std::string_view script,
                                                             std::string_view module) {
    std::vector<const DesktopEntry*> found;
    for (const DesktopEntry& entry : entries_->applications()) {
        if (entry.program.empty() || isInterpreter(entry.program)) {
            continue;
        }
        if (sameName(entry.program, script)) {
            found.push_back(&entry);
        } else if (!module.empty() && launchers_ != nullptr) {
            // python3 -m idlelib runs what IDLE's launcher runs.
            const ProgramReach reach = entry.programPath.find('/') != std::string::npos
                                           ? launchers_->reachOfFile(entry.programPath)
                                           : launchers_->reachOf(entry.program);
            if (std::ranges::any_of(reach.names,
                                    [&](const std::string& name) { return sameName(name, module); })) {
                found.push_back(&entry);
            }
        }
    }
    // The plainest first: "idle" before "idle-python3.11", which runs the same for one version.
    std::ranges::stable_sort(found, {}, [](const DesktopEntry* entry) { return entry->id.size(); });
    return found;
}

std::vector<std::string> WindowNamer::runningIn(ProcessId terminal) {
    std::vector<std::string> names;
    if (terminal == kNoProcess) {
        return names;
    }
    std::set<ProcessId> seen{terminal};
    std::deque<ProcessId> waiting{terminal};
    while (!waiting.empty() && seen.size() <= kMostRunningIn) {
        const ProcessId parent = waiting.front();
        waiting.pop_front();
        for (const ProcessId child : tree_.childrenOf(parent)) {
            if (!seen.insert(child).second) {
                continue;
            }
            if (const std::string executable = processes_.nameOf(child); !executable.empty()) {
                addProcessNames(child, executable, names);
            }
            waiting.push_back(child);
        }
    }
    return names;
}

ProgramReach WindowNamer::reachOf(std::string_view listed) {
    if (launchers_ != nullptr) {
        return launchers_->reachOf(listed);
    }
    return ProgramNamer::reachOf(listed);
}

ProgramReach WindowNamer::reachOfFile(const std::filesystem::path& file) {
    return launchers_ != nullptr ? launchers_->reachOfFile(file) : ProgramNamer::reachOfFile(file);
}

ProgramNames WindowNamer::namesOf(const TopLevelWindow& window) {
    Lasting lasting = lastingNamesOf(window);
    if (lasting.terminal) {
        for (const std::string& name : runningIn(window.pid)) {
            addName(lasting.names.all, name);
        }
    }
    return std::move(lasting.names);
}

} // namespace tallowby::platform
