#include "platform/system_monitors.h"

#include <algorithm>

#include "engine/program_choice.h"
#include "platform/program_command.h"

namespace tallowby::platform {

namespace {

// Each program list names what the packages install (Debian's where there is one) and, for a
// script, the script: its interpreter is recognised from the command line.
constexpr std::string_view kTaskmgr[] = {"taskmgr.exe"};
// Resource Monitor's window belongs to "perfmon.exe /res", which resmon.exe starts and leaves.
constexpr std::string_view kResourceMonitor[] = {"resmon.exe", "perfmon.exe"};
// procexp.exe unpacks and runs the build for the machine's processor.
constexpr std::string_view kProcessExplorer[] = {"procexp.exe", "procexp64.exe", "procexp64a.exe"};
constexpr std::string_view kProcessHacker[] = {"ProcessHacker.exe"};
constexpr std::string_view kSystemInformer[] = {"SystemInformer.exe"};
constexpr std::string_view kGnomeSystemMonitor[] = {"gnome-system-monitor"};
constexpr std::string_view kGnomeUsage[] = {"gnome-usage", "org.gnome.Usage"};
constexpr std::string_view kPlasma[] = {"plasma-systemmonitor"};
constexpr std::string_view kKsysguard[] = {"ksysguard"};
constexpr std::string_view kXfce[] = {"xfce4-taskmanager"};
constexpr std::string_view kLxtask[] = {"lxtask"};
constexpr std::string_view kMate[] = {"mate-system-monitor"};
constexpr std::string_view kQps[] = {"qps"};
constexpr std::string_view kDeepin[] = {"deepin-system-monitor"};
constexpr std::string_view kProcessViewer[] = {"process_viewer", "process-viewer"};
constexpr std::string_view kStacer[] = {"stacer"};
constexpr std::string_view kTop[] = {"top"};
constexpr std::string_view kHtop[] = {"htop"};
constexpr std::string_view kBtop[] = {"btop"};
constexpr std::string_view kAtop[] = {"atop"};
constexpr std::string_view kGlances[] = {"glances"};
constexpr std::string_view kBpytop[] = {"bpytop"};
constexpr std::string_view kBashtop[] = {"bashtop"};
constexpr std::string_view kNmon[] = {"nmon"};
constexpr std::string_view kGtop[] = {"gtop"};
constexpr std::string_view kVtop[] = {"vtop"};
constexpr std::string_view kYtop[] = {"ytop"};
constexpr std::string_view kBottom[] = {"btm"};

constexpr SystemMonitor kMonitors[] = {
    {"Windows Task Manager", kTaskmgr, false},
    {"Resource Monitor", kResourceMonitor, false},
    {"Process Explorer", kProcessExplorer, false},
    {"Process Hacker", kProcessHacker, false},
    {"System Informer", kSystemInformer, false},
    {"GNOME System Monitor", kGnomeSystemMonitor, false},
    {"GNOME Usage", kGnomeUsage, false},
    {"Plasma System Monitor", kPlasma, false},
    {"KSysGuard", kKsysguard, false},
    {"Xfce Task Manager", kXfce, false},
    {"LXTask", kLxtask, false},
    {"MATE System Monitor", kMate, false},
    {"qps", kQps, false},
    {"Deepin System Monitor", kDeepin, false},
    {"Process Viewer", kProcessViewer, false},
    {"Stacer", kStacer, false},
    {"top", kTop, true},
    {"htop", kHtop, true},
    {"btop", kBtop, true},
    {"atop", kAtop, true},
    {"Glances", kGlances, true},
    {"bpytop", kBpytop, true},
    {"bashtop", kBashtop, true},
    {"nmon", kNmon, true},
    {"gtop", kGtop, true},
    {"vtop", kVtop, true},
    {"ytop", kYtop, true},
    {"bottom (btm)", kBottom, true},
};

} // namespace

std::span<const SystemMonitor> systemMonitors() {
    return kMonitors;
}

const std::vector<std::string>& systemMonitorPrograms() {
    static const std::vector<std::string> programs = [] {
        std::vector<std::string> all;
        for (const SystemMonitor& monitor : kMonitors) {
            for (std::string_view program : monitor.programs) {
                if (std::ranges::find(all, program) == all.end()) {
                    all.emplace_back(program);
                }
            }
        }
        return all;
    }();
    return programs;
}

const SystemMonitor* systemMonitorFor(std::string_view program) {
    // The name itself, then without extension or version, then as the start of a longer name: the
    // kernel cuts another user's process's name to 15 characters.
    const std::string bare = bareProgramName(program);
    const auto startsWith = [](std::string_view name, std::string_view start) {
        return start.size() == 15 && name.size() > start.size() &&
               engine::sameName(name.substr(0, 15), start);
    };
    for (std::string_view candidate : {program, std::string_view(bare)}) {
        for (const SystemMonitor& monitor : kMonitors) {
            if (std::ranges::any_of(monitor.programs, [&](std::string_view name) {
                    return engine::sameName(name, candidate);
                })) {
                return &monitor;
            }
        }
    }
    for (const SystemMonitor& monitor : kMonitors) {
        if (std::ranges::any_of(monitor.programs,
                                [&](std::string_view name) { return startsWith(name, program); })) {
            return &monitor;
        }
    }
    return nullptr;
}

std::string systemMonitorLabels(bool terminal) {
    std::string labels;
    for (const SystemMonitor& monitor : kMonitors) {
        if (monitor.terminal == terminal) {
            if (!labels.empty()) {
                labels += ", ";
            }
            labels += monitor.label;
        }
    }
    return labels;
}

} // namespace tallowby::platform
