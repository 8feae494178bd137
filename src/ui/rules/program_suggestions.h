#pragma once
// What a name that reaches nothing may have been meant for: the names windows answer to (the
// installed applications' menu names, ids and programs, the running windows' names, the programs
// on the search path), the likeliest few, each with the application or program it reaches.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/desktop_entries.h"
#include "platform/program_names.h"
#include "platform/window_list.h"
#include "ui/rules/unknown_program_question.h"

namespace tallowby::ui {

inline constexpr std::size_t kMostSuggestions = 5;

// The installed application (shown in the menus) whose program is on the way; null for none.
const platform::DesktopEntry* applicationReached(const platform::ProgramReach& reach,
                                                 const std::vector<platform::DesktopEntry>& entries);

// Likeliest first, one per application or program reached, each leading somewhere; an
// application is offered by its menu name: "LibreOffice Writer — soffice.bin".
std::vector<ProgramSuggestion> suggestionsFor(const std::string& typed, platform::ProgramNamer& namer,
                                              const std::vector<platform::DesktopEntry>& entries,
                                              const std::vector<platform::TopLevelWindow>& windows,
                                              const std::vector<std::filesystem::path>& folders);

} // namespace tallowby::ui
