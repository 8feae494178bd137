// Rule files as a user might hand-edit them: the input holds the six files of a program folder,
// separated by NUL bytes (config, profile list, sessions, whole day, reminders, sounds). They are
// written into a private temporary program folder, loaded by the store's loaders, and the tick is
// evaluated at moments around midnight and exactly at the times the files name.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/kit/recording_actions.h"
#include "engine/tick.h"
#include "store/config_lines.h"
#include "store/line_values.h"
#include "store/list_loaders.h"
#include "store/load_report.h"
#include "store/program_paths.h"
#include "store/reminder_records.h"
#include "store/session_records.h"
#include "store/sound_list.h"
#include "store/time_of_day.h"
#include "store/whole_day_record.h"
#include "support/file_bytes.h"
#include "support/sim_clock.h"
#include "support/temp_folder.h"

namespace {

using namespace tallowby;
namespace kit = tallowby::engine::kit;
namespace fs = std::filesystem;

constexpr std::size_t kFiles = 6;

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::vector<std::string_view> splitFiles(std::string_view data) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < kFiles) {
        const std::size_t separator = data.find('\0');
        if (separator == std::string_view::npos) {
            break;
        }
        parts.push_back(data.substr(0, separator));
        data.remove_prefix(separator + 1);
    }
    parts.push_back(data);
    return parts;
}

// The profile's files are written under the name the program would read them by; a name the
// program refuses must never come back as a path outside the profiles folder.
std::string profileName(const store::Lines& config) {
    const std::string name = store::profileForFiles(config);
    check(name.find('/') == std::string::npos && name.find('\0') == std::string::npos && name != "." &&
              name != "..",
          "a profile name for files stays inside the profiles folder");
    return !name.empty() && name.size() < 64 ? name : "fuzzed";
}

void place(const fs::path& path, const std::vector<std::string_view>& parts, std::size_t index) {
    // A plain write: the store's safe replacement syncs to disk, which would slow the fuzzer down a
    // hundredfold; the loaders are what is under test here.
    if (index < parts.size()) {
        testsupport::writeFile(path, parts[index]);
    }
}

store::RuleLists loadFolder(const std::vector<std::string_view>& parts) {
    // A private program folder for this input only: libFuzzer ends the process without running exit
    // handlers, so nothing may be left for them to remove.
    const testsupport::TempFolder folder;
    std::filesystem::create_directory(folder / "profiles");
    const store::ProgramPaths paths(folder.path());
    store::RuleLists lists;
    place(paths.configFile(), parts, 0);
    store::loadConfigList(lists, paths.configFile());
    const std::string profile = profileName(lists.ConfigLines);
    place(paths.profileListFile(), parts, 1);
    place(paths.sessionFile(profile), parts, 2);
    place(paths.wholeDayFile(profile), parts, 3);
    place(paths.reminderFile(profile), parts, 4);
    place(paths.soundFile(), parts, 5);
    store::loadProfileList(lists, paths.profileListFile());
    store::loadSessionList(lists, paths.sessionFile(profile));
    store::loadWholeDayList(lists, paths.wholeDayFile(profile));
    store::loadReminderList(lists, paths.reminderFile(profile));
    store::loadSound(lists, paths);

    check(lists.SessionCount == store::sessionCount(lists.SessionLines.size()), "session count");
    check(lists.ReminderCount == store::reminderCount(lists.ReminderLines.size()), "reminder count");
    check(lists.SoundLines.size() >= 2, "two sounds");

    // Whatever the files hold, the report of what was not read names a file of the folder.
    store::LoadReport report;
    store::checkLoadedLists(
        report, {lists.ConfigLines, lists.SessionLines, lists.WholeDayLines, lists.ReminderLines}, paths);
    for (const std::string& problem : report.problems())
        check(problem.find(folder.path().string()) != std::string::npos, "a problem names its file");
    return lists;
}

// The times the files name, as milliseconds of the day, for ticks that land right on them.
std::vector<std::int64_t> namedTimes(const store::RuleLists& lists) {
    std::vector<std::int64_t> times;
    const auto add = [&](const std::string& text, std::int64_t offset) {
        try {
            times.push_back(store::parseTimeOfDay(text) + offset);
        } catch (const store::TimeFormatError&) {
        }
    };
    for (int i = 0; i < lists.SessionCount && times.size() < 12; ++i) {
        add(store::lineAt(lists.SessionLines, 6 * i), 0);
        add(store::lineAt(lists.SessionLines, 6 * i), -10 * 60 * 1000);
        add(store::lineAt(lists.SessionLines, 6 * i + 1), 0);
    }
    add(store::lineAt(lists.ReminderLines, 1), 0);
    add(store::lineAt(lists.ReminderLines, 1), -10 * 60 * 1000);
    for (int i = 0; i < lists.ReminderCount && times.size() < 20; ++i) {
        add(store::lineAt(lists.ReminderLines, 5 + 4 * i), 0);
    }
    return times;
}

void checkRecords(const kit::RecordingActions& actions, const engine::TickState& state,
                  const store::RuleLists& lists) {
    check(state.CurrentSessionIndex >= -1 && state.CurrentSessionIndex < std::max(lists.SessionCount, 1),
          "current session index");
    for (const kit::ActionRecord& r : actions.records) {
        if (r.act == kit::Act::Header) {
            check(r.header.clock.size() == 8 && r.header.todayCaption == "Today", "header");
        }
        if (r.act == kit::Act::Hosts) {
            for (const std::string& site : r.sites) {
                check(!site.empty() && site.find_first_of("\r\n;") == std::string::npos, "hosts line");
            }
        }
        if (r.act == kit::Act::Reminder) {
            check(r.text.rfind("Reminder - It's time ", 0) == 0, "reminder caption");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const store::RuleLists lists = loadFolder(splitFiles(input));
    const store::WholeDayFields fields = store::decodeWholeDay(lists.WholeDayLines);
    const engine::WholeDayPanel panel{fields.processes, fields.websites, !fields.blockMode};

    engine::TickState state;
    kit::SimClock simClock(kit::at(2026, 12, 5 + static_cast<int>(size % 7), 0)); // any week day
    kit::RecordingActions actions(simClock, &state);
    // One tick runs inside the first pop-up, as the window's timer would while it is open.
    int nested = 0;
    actions.whileOpen = [&](const kit::ActionRecord&) {
        if (nested++ == 0) {
            simClock.advance(1000);
            engine::runTick({lists, panel, 1000}, state, simClock, actions);
        }
    };

    std::vector<std::int64_t> moments{0, store::kMsPerDay - 500, store::kMsPerDay - 1000, 12 * 3600 * 1000};
    for (const std::int64_t t : namedTimes(lists)) {
        moments.push_back(t);
        moments.push_back(t - 1);
        moments.push_back(t - 999);
    }
    for (const std::int64_t moment : moments) {
        if (moment < 0 || moment >= store::kMsPerDay) {
            continue;
        }
        simClock.setTime(moment);
        engine::runTick({lists, panel, 1000}, state, simClock, actions);
    }
    checkRecords(actions, state, lists);
    return 0;
}
