// A full window sweep over 50 and 200 real X windows (testwin programs on a private Xvfb with
// openbox): the pipelined sweep beside the original way, with X round trips per sweep and the
// ratio of their times; and the sweep of a desktop where nothing changed since the last one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "original_sweep.h"
#include "platform/linux/xdg_desktop_entries.h"
#include "platform/window_sweep.h"
#include "platform/x11/x11_platform.h"
#include "support/test_window.h"
#include "support/x_probe.h"
#include "support/x_session.h"

namespace tallowby::bench {
namespace {

using platform::x11::X11Platform;
using testsupport::ProgramCopies;
using testsupport::TestWindow;
using testsupport::XProbe;
using testsupport::XSession;

constexpr int kWindowsPerProgram = 10;
// The bench started every window: as the program's own process it would spare them all.
constexpr platform::ProcessId kSelf = platform::kNoProcess;

// A Block rule whose program is not running: every window is judged, none is sent a command, so
// both ways are timed on the same work and the desktop stays as it is between iterations.
engine::SweepRule benchRule() {
    engine::SweepRule rule;
    rule.kind = engine::SweepKind::SessionBlock;
    rule.names = {"notrunning.exe"};
    return rule;
}

// The private desktop, holding exactly the number of windows the current benchmark asks for. Half
// of the programs set no _NET_WM_PID, so their owners are found through XRes.
class Desktop {
  public:
    const std::string& display() { return session_.display(); }

    // Renames one window, as its program would: the next sweep has to list the windows again.
    void change() {
        renamed_ = !renamed_;
        probe_.setText(programs_.front()->window(), "_NET_WM_NAME", renamed_ ? "Document 0 *" : "Document 0");
    }

    void ensureWindows(int count) {
        if (count == current_) {
            return;
        }
        programs_.clear();
        for (int p = 0; p < count / kWindowsPerProgram; ++p) {
            const std::string name = "app" + std::to_string(p) + ".exe";
            programs_.push_back(std::make_unique<TestWindow>(
                session_, copies_.copyAs(name), "Document " + std::to_string(p),
                testsupport::TestWindowOptions{.setPid = p % 2 == 0, .count = kWindowsPerProgram}));
        }
        current_ = count;
    }

  private:
    XSession session_;
    XProbe probe_{session_.display()};
    ProgramCopies copies_;
    std::vector<std::unique_ptr<TestWindow>> programs_;
    int current_ = 0;
    bool renamed_ = false;
};

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

// changed: a window is renamed before every sweep, outside the timing.
template <class Sweep>
void runSweeps(benchmark::State& state, X11Platform& platform, Sweep sweep, bool changed = true) {
    sweep(); // connects and warms the caches outside the timing
    const auto before = platform.connection().roundTrips();
    for (auto _ : state) {
        if (changed) {
            state.PauseTiming();
            desktop().change();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(sweep());
    }
    const auto roundTrips = platform.connection().roundTrips() - before;
    state.counters["round_trips_per_sweep"] =
        static_cast<double>(roundTrips) / static_cast<double>(state.iterations());
    state.counters["windows"] = static_cast<double>(state.range(0));
}

void BM_PipelinedSweep(benchmark::State& state) {
    desktop().ensureWindows(static_cast<int>(state.range(0)));
    X11Platform platform(desktop().display());
    const auto rule = benchRule();
    runSweeps(state, platform,
              [&] { return platform::WindowSweep(platform.sweepPlatform(), rule, kSelf).size(); });
}

// What most ticks cost: the listing kept from the last sweep serves again.
void BM_SweepOfAnUnchangedDesktop(benchmark::State& state) {
    desktop().ensureWindows(static_cast<int>(state.range(0)));
    X11Platform platform(desktop().display());
    const auto rule = benchRule();
    runSweeps(
        state, platform, [&] { return platform::WindowSweep(platform.sweepPlatform(), rule, kSelf).size(); },
        false);
}

// The same, the rule listing ten names as a person takes them from the menu and the search path,
// each followed to the program it reaches (menu names, links, alternatives, launcher scripts) with
// the machine's own desktop entries: what the following adds to a tick once its ways are kept.
void BM_SweepOfAnUnchangedDesktopListingLaunchers(benchmark::State& state) {
    desktop().ensureWindows(static_cast<int>(state.range(0)));
    platform::XdgDesktopEntries entries({"/usr/share"});
    X11Platform platform(desktop().display(), &entries);
    engine::SweepRule rule = benchRule();
    rule.names = {"uxterm", "x-terminal-emulator", "display", "lxterm",   "Task Manager",
                  "XTerm",  "Image Viewer",        "nethack", "lowriter", "Web Browser"};
    runSweeps(
        state, platform, [&] { return platform::WindowSweep(platform.sweepPlatform(), rule, kSelf).size(); },
        false);
}

void BM_OriginalSweep(benchmark::State& state) {
    desktop().ensureWindows(static_cast<int>(state.range(0)));
    X11Platform platform(desktop().display());
    const auto rule = benchRule();
    runSweeps(state, platform, [&] {
        return originalSweep(platform.connection(), platform.processes(), platform.commander(), rule);
    });
}

// The part of every sweep that does not depend on the windows: one snapshot of /proc.
void BM_ProcessSnapshot(benchmark::State& state) {
    platform::ProcfsProcessLister processes;
    std::size_t count = 0;
    for (auto _ : state) {
        count = processes.snapshot().size();
        benchmark::DoNotOptimize(count);
    }
    state.counters["processes"] = static_cast<double>(count);
}

// Prints the usual table, then the original way's time over the pipelined sweep's per window count.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            const auto counter = run.counters.find("windows");
            const bool original = run.benchmark_name().starts_with("BM_Original");
            if (counter == run.counters.end() ||
                (!original && !run.benchmark_name().starts_with("BM_Pipelined"))) {
                continue;
            }
            auto& pair = times_[static_cast<int>(counter->second.value)];
            (original ? pair.original : pair.pipelined) = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [windows, pair] : times_) {
            if (pair.original && pair.pipelined && *pair.pipelined > 0) {
                std::printf("%d windows: the original way takes %.1f times as long as the pipelined sweep\n",
                            windows, *pair.original / *pair.pipelined);
            }
        }
    }

  private:
    struct Pair {
        std::optional<double> original;
        std::optional<double> pipelined;
    };
    std::map<int, Pair> times_;
};

} // namespace
} // namespace tallowby::bench

int main(int argc, char** argv) {
    using namespace tallowby::bench;
    benchmark::Initialize(&argc, argv);
    for (const int windows : {50, 200}) {
        benchmark::RegisterBenchmark("BM_PipelinedSweep", BM_PipelinedSweep)
            ->Arg(windows)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_OriginalSweep", BM_OriginalSweep)
            ->Arg(windows)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_SweepOfAnUnchangedDesktop", BM_SweepOfAnUnchangedDesktop)
            ->Arg(windows)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_SweepOfAnUnchangedDesktopListingLaunchers",
                                     BM_SweepOfAnUnchangedDesktopListingLaunchers)
            ->Arg(windows)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("BM_ProcessSnapshot", BM_ProcessSnapshot)->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
