// What one tick costs with a busy profile, and what loading and rewriting a full day of sessions
// costs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "engine/tick.h"
#include "store/list_loaders.h"
#include "store/load_report.h"
#include "store/session_records.h"
#include "store/text_file.h"
#include "support/file_bytes.h"
#include "support/sim_clock.h"
#include "support/temp_folder.h"

namespace {

using namespace tallowby;

class NullActions : public engine::TickActions {
  public:
    void showHeader(const engine::HeaderTexts&) override {}
    void showCurrentSession(const std::string&) override {}
    void killTaskManager() override {}
    void showReminder(const std::string&, const std::string&) override {}
    void showShutdownWarning(const std::string&) override {}
    void startShutdown() override {}
    void sweepWindows(const engine::SweepRule& rule) override { benchmark::DoNotOptimize(rule.names.data()); }
    void showNotice(const std::string&) override {}
    bool writeHosts(const std::vector<std::string>&) override { return true; }
    bool hostsHold(const std::vector<std::string>&) override { return true; }
    bool sessionListHasSelection() override { return true; }
    void clearSessionPanel() override {}
};

std::string hhmm(int minutes) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60 % 24, minutes % 60);
    return text;
}

// count sessions of equal length covering the day (one session: 09:00-12:00).
store::Lines sessionLines(int count) {
    store::Lines lines;
    const int length = count == 1 ? 180 : 24 * 60 / count;
    for (int i = 0; i < count; ++i) {
        const int start = count == 1 ? 9 * 60 : i * length;
        const int end = std::min(start + length, 23 * 60 + 59);
        lines.insert(lines.end(), {hhmm(start), hhmm(end), "1111111", i % 2 == 0 ? "1" : "0",
                                   "code.exe;terminal.exe;notepad.exe;", "news.example;video.example;"});
    }
    return lines;
}

store::RuleLists profile(int sessions, int reminders) {
    store::RuleLists lists;
    lists.ConfigLines = {"Work", "1", "1", "1", "1", "1", "1", "10", "0", "1", "0", "0", "1", "0"};
    lists.SessionLines = sessionLines(sessions);
    lists.SessionCount = sessions;
    lists.WholeDayLines = {"1111111", "1", "music.exe;", "social.example;"};
    lists.ReminderLines = {"1111111", "22:30", "1", "1", "1"};
    for (int i = 0; i < reminders; ++i) {
        lists.ReminderLines.insert(lists.ReminderLines.end(),
                                   {hhmm(i * 13 + 7), "1", "0111110", "Reminder " + std::to_string(i)});
    }
    lists.ReminderCount = reminders;
    return lists;
}

void BM_Tick(benchmark::State& state) {
    const store::RuleLists lists =
        profile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const engine::WholeDayPanel panel{{"music.exe"}, {"social.example"}, true};
    engine::TickState tickState;
    // A moment inside a session and due for no event, so every tick does the same work.
    const engine::kit::SimClock clock(engine::kit::at(2026, 12, 7, engine::kit::hms(10, 2, 30, 500)));
    NullActions actions;
    for (auto _ : state) {
        engine::runTick({lists, panel, 1000}, tickState, clock, actions);
    }
    benchmark::DoNotOptimize(tickState.CurrentSessionIndex);
}
BENCHMARK(BM_Tick)->ArgsProduct({{1, 24, 288}, {0, 100}})->ArgNames({"sessions", "reminders"});

void BM_LoadSessionFile288(benchmark::State& state) {
    const testsupport::TempFolder folder;
    const std::filesystem::path file = folder.path() / "Work.db";
    store::writeLines(file, sessionLines(288));
    store::RuleLists lists;
    for (auto _ : state) {
        store::loadSessionList(lists, file);
    }
    benchmark::DoNotOptimize(lists.SessionCount);
}
BENCHMARK(BM_LoadSessionFile288);

// One edit of the session panel: change a session, rewrite the whole file safely, load it again.
void BM_RewriteSessionFile288(benchmark::State& state) {
    const testsupport::TempFolder folder;
    const std::filesystem::path file = folder.path() / "Work.db";
    store::writeLines(file, sessionLines(288));
    store::RuleLists lists;
    store::loadSessionList(lists, file);
    int round = 0;
    for (auto _ : state) {
        store::SessionFields fields = store::sessionFields(lists.SessionLines, 143);
        fields.weekDays[static_cast<std::size_t>(round++ % 7)] ^= true;
        store::writeLines(file, store::saveSessionFields(lists.SessionLines, 143, fields));
        store::loadSessionList(lists, file);
    }
}
BENCHMARK(BM_RewriteSessionFile288)->Unit(benchmark::kMicrosecond);

// The check of what the files leave unread, made after start-up, a profile switch and every save.
void BM_CheckLoadedLists288(benchmark::State& state) {
    const testsupport::TempFolder folder;
    const store::ProgramPaths paths(folder.path());
    std::filesystem::create_directory(paths.profilesFolder());
    const store::RuleLists lists = profile(288, 100);
    store::writeLines(paths.configFile(), lists.ConfigLines);
    store::writeLines(paths.sessionFile("Work"), lists.SessionLines);
    store::writeLines(paths.wholeDayFile("Work"), lists.WholeDayLines);
    store::writeLines(paths.reminderFile("Work"), lists.ReminderLines);
    for (auto _ : state) {
        store::LoadReport report;
        store::checkLoadedLists(
            report, {lists.ConfigLines, lists.SessionLines, lists.WholeDayLines, lists.ReminderLines}, paths);
        benchmark::DoNotOptimize(report.problems().data());
    }
}
BENCHMARK(BM_CheckLoadedLists288)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
