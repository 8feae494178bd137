// The cost of a hosts write beside a plain replacement of a file of the same size (read it, write a
// temporary copy, flush, rename), for 10 000 and 100 000 blocked names. Both flush to the disk, so
// the ratio shows what finding and replacing the program's block adds. A third run shows the block
// work alone, without any file. The last ones time the check of every tick on a file that has not
// changed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

#include "hosts_test_support.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "store/text_file.h"
#include "support/temp_folder.h"

namespace {

using namespace tallowby::platform;

const std::string kUserLines = "127.0.0.1\tlocalhost\n127.0.1.1\tbox.lan\tbox\n::1 localhost ip6-localhost\n";

// Two lists of the same size that differ in their last name, so that every write changes the file.
struct SiteLists {
    std::vector<std::string> first;
    std::vector<std::string> second;
    explicit SiteLists(std::size_t count)
        : first(hosts_testing::numberedSites(count, "www.site", ".example.com")), second(first) {
        second.back()[0] = 'W';
    }
};

void BM_HostsWrite(benchmark::State& state) {
    const SiteLists sites(static_cast<std::size_t>(state.range(0)));
    tallowby::testsupport::TempFolder folder;
    hosts_testing::writeFile(folder.path() / "hosts", kUserLines);
    const HostsFile file(folder.path() / "hosts", "\n");
    const BlockRequest first(sites.first);
    const BlockRequest second(sites.second);
    bool flip = false;
    for (auto _ : state) {
        file.write(flip ? second : first);
        flip = !flip;
    }
    state.SetBytesProcessed(
        state.iterations() *
        static_cast<std::int64_t>(hosts_testing::readFile(folder.path() / "hosts").size()));
}

void BM_PlainReplace(benchmark::State& state) {
    const SiteLists sites(static_cast<std::size_t>(state.range(0)));
    tallowby::testsupport::TempFolder folder;
    const auto path = folder.path() / "hosts";
    hosts_testing::writeFile(path, renderHosts(kUserLines, sites.first, "\n"));
    for (auto _ : state) {
        std::string bytes = hosts_testing::readFile(path);
        bytes[bytes.size() / 2] ^= 0x20;
        tallowby::store::replaceFileContents(path, bytes);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(hosts_testing::readFile(path).size()));
}

void BM_RenderHosts(benchmark::State& state) {
    const SiteLists sites(static_cast<std::size_t>(state.range(0)));
    const std::string old = renderHosts(kUserLines, sites.first, "\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(renderHosts(old, sites.second, "\n"));
}

// The tick's question for a file nobody changed: answered from what was seen last time, after
// finding out which file the path names now. Reached directly, through a symbolic link, and as the
// sandbox program reaches it, confined to its folder; with few names the finding dominates, with
// many the comparison of the lists.
void BM_HoldsUnchanged(benchmark::State& state) {
    const SiteLists sites(static_cast<std::size_t>(state.range(1)));
    tallowby::testsupport::TempFolder folder;
    const auto real = folder.path() / "real-hosts";
    hosts_testing::writeFile(real, kUserLines);
    const bool throughLink = state.range(0) == 1;
    if (throughLink)
        std::filesystem::create_symlink(real, folder.path() / "hosts");
    const bool confined = state.range(0) == 2;
    const HostsFile file(throughLink ? folder.path() / "hosts" : real, "\n",
                         confined ? folder.path() : std::filesystem::path());
    const BlockRequest request(sites.first);
    file.write(request);
    for (auto _ : state)
        benchmark::DoNotOptimize(file.holds(request));
}

BENCHMARK(BM_HostsWrite)->Arg(100)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReplace)->Arg(100)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderHosts)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoldsUnchanged)
    ->ArgNames({"direct0_link1_confined2", "names"})
    ->ArgsProduct({{0, 1, 2}, {10, 1000}})
    ->Unit(benchmark::kMicrosecond);

// Prints, after the table, how a hosts write compares with the plain replacement of the same size.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // With repetitions the median stands for the benchmark, else its single run.
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((single || median) && !run.error_occurred)
                times_[run.run_name.str()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        for (const char* size : {"10000", "100000"}) {
            const auto write = times_.find(std::string("BM_HostsWrite/") + size + "/real_time");
            const auto plain = times_.find(std::string("BM_PlainReplace/") + size + "/real_time");
            if (write != times_.end() && plain != times_.end())
                std::printf("hosts write / plain replace, %s names: %.2f\n", size,
                            write->second / plain->second);
        }
        ConsoleReporter::Finalize();
    }

  private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
