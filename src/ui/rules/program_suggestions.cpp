#include "ui/rules/program_suggestions.h"

#include <algorithm>
#include <set>

#include "engine/program_choice.h"
#include "platform/program_command.h"
#include "ui/common/local_text.h"
#include "ui/rules/installed_programs.h"

namespace tallowby::ui {
namespace {

// Candidates ranked before the ways of the likeliest are followed: enough for a few to be left
// once those leading nowhere, or to the same place, are put aside.
constexpr std::size_t kMostConsidered = 24;

const QString kLeadsTo = QStringLiteral("%1 — %2");

struct Place {
    const platform::DesktopEntry* entry = nullptr;
    // A program on the search path, or a running window's program.
    std::string program{};
    bool running = false;
};

// The program that ends up owning the windows, as far as the way can be told.
std::string ownerOf(platform::ProgramNamer& namer, const std::string& program) {
    const platform::ProgramReach reach = namer.reachOf(program);
    return reach.owner.empty() ? program : reach.owner;
}

QString menuNameOf(const platform::DesktopEntry& entry) {
    return fromBytes(entry.name.empty() ? entry.id : entry.name);
}

} // namespace

const platform::DesktopEntry* applicationReached(const platform::ProgramReach& reach,
                                                 const std::vector<platform::DesktopEntry>& entries) {
    const auto runs = std::ranges::find_if(entries, [&reach](const platform::DesktopEntry& installed) {
        return installed.shown && !installed.program.empty() &&
               std::ranges::find(reach.names, installed.program) != reach.names.end();
    });
    return runs != entries.end() ? &*runs : nullptr;
}

std::vector<ProgramSuggestion> suggestionsFor(const std::string& typed, platform::ProgramNamer& namer,
                                              const std::vector<platform::DesktopEntry>& entries,
                                              const std::vector<platform::TopLevelWindow>& windows,
                                              const std::vector<std::filesystem::path>& folders) {
    std::vector<engine::NameCandidate> candidates;
    std::vector<Place> places;
    const auto add = [&](const std::string& name, std::string key, Place place) {
        if (!name.empty()) {
            candidates.push_back({name, std::move(key)});
            places.push_back(std::move(place));
        }
    };
    for (const platform::DesktopEntry& entry : entries) {
        if (!entry.shown)
            continue;
        for (const std::string& name : entry.menuNames)
            add(name, "entry:" + entry.id, {.entry = &entry});
        add(entry.id, "entry:" + entry.id, {.entry = &entry});
        if (!platform::isInterpreter(entry.program))
            add(entry.program, "entry:" + entry.id, {.entry = &entry});
    }
    for (const platform::TopLevelWindow& window : windows) {
        const platform::ProgramNames names = namer.namesOf(window);
        // A window of an installed application is offered as the application.
        const auto installed = std::ranges::find_if(entries, [&names](const platform::DesktopEntry& entry) {
            return entry.shown && !names.application.empty() && entry.id == names.application;
        });
        const Place place = installed != entries.end() ? Place{.entry = &*installed}
                                                       : Place{.program = names.executable, .running = true};
        for (const std::string& name : names.all)
            add(name, "window:" + names.recorded(), place);
    }
    for (const std::string& program : programsIn(folders))
        add(program, "file:" + program, {.program = program});

    std::vector<ProgramSuggestion> suggestions;
    std::set<std::string> offered;
    for (const std::size_t at : engine::likelyMeant(typed, candidates, kMostConsidered)) {
        const Place& place = places[at];
        const platform::DesktopEntry* entry = place.entry;
        std::string owner = place.program;
        if (!entry && !place.running) {
            const platform::ProgramReach reach = namer.reachOf(place.program);
            if (!reach.followed)
                continue;
            owner = reach.owner.empty() ? place.program : reach.owner;
            // A launcher of an installed application is offered as the application.
            if (const platform::DesktopEntry* runs = applicationReached(reach, entries))
                entry = runs;
        }
        std::string key = entry ? "entry:" + entry->id : "program:" + owner;
        if (!offered.insert(std::move(key)).second)
            continue;
        if (entry) {
            const std::string reached = entry->program.empty() ? entry->id : ownerOf(namer, entry->program);
            suggestions.push_back({menuNameOf(*entry), kLeadsTo.arg(menuNameOf(*entry), fromBytes(reached))});
        } else {
            const QString name = fromBytes(candidates[at].name);
            suggestions.push_back({name, kLeadsTo.arg(name, fromBytes(owner))});
        }
        if (suggestions.size() == kMostSuggestions)
            break;
    }
    return suggestions;
}

} // namespace tallowby::ui
