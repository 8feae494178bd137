#include "ui/rules/installed_programs.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "engine/program_choice.h"
#include "platform/program_files.h"

namespace tallowby::ui {
namespace {

namespace fs = std::filesystem;

bool executableFile(const fs::path& file) {
    return platform::isProgramFile(file);
}

// Where the program word of an Exec line leads, followed through links; empty when nowhere.
fs::path programFile(const std::string& word, const std::vector<fs::path>& folders) {
    std::error_code error;
    if (word.find('/') != std::string::npos) {
        const fs::path file = fs::canonical(word, error);
        return error || !executableFile(file) ? fs::path() : file;
    }
    for (const fs::path& folder : folders) {
        const fs::path file = fs::canonical(folder / word, error);
        if (!error && executableFile(file))
            return file;
    }
    return {};
}

// Calls found(file) for each file in the folders until it answers true; whether one did.
template <typename Found> bool forEachFileIn(const std::vector<fs::path>& folders, Found found) {
    for (const fs::path& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error))
            if (found(it->path()))
                return true;
    }
    return false;
}

} // namespace

std::vector<std::string> programsIn(const std::vector<fs::path>& folders) {
    std::vector<std::string> names;
    std::set<std::string, std::less<>> seen;
    forEachFileIn(folders, [&](const fs::path& file) {
        std::string name = file.filename().string();
        if (!seen.contains(name) && executableFile(file)) {
            seen.insert(name);
            names.push_back(std::move(name));
        }
        return false;
    });
    return names;
}

std::string applicationNameOf(const fs::path& file, const std::vector<platform::DesktopEntry>& entries,
                              const std::vector<fs::path>& folders) {
    std::vector<const platform::DesktopEntry*> running;
    for (const platform::DesktopEntry& entry : entries)
        if (!entry.programPath.empty() && programFile(entry.programPath, folders) == file)
            running.push_back(&entry);
    if (std::ranges::any_of(running, [](const platform::DesktopEntry* entry) { return entry->shown; }))
        std::erase_if(running, [](const platform::DesktopEntry* entry) { return !entry->shown; });
    if (running.empty())
        return {};
    return running.size() == 1 ? running.front()->id : running.front()->program;
}

} // namespace tallowby::ui
