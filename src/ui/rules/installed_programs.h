#pragma once
// What is installed, as the process picker looks for it: programs on the search path and the
// desktop entries that run them. Names are compared ignoring case, as the window sweep compares
// them.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_entries.h"

namespace tallowby::ui {

// The folders of $PATH in their order; relative and empty ones are left out (they would depend on
// where the program was started).
std::vector<std::filesystem::path> programFolders();

// The file names of the executable files in the folders, each once, in the order found.
std::vector<std::string> programsIn(const std::vector<std::filesystem::path>& folders);

// Whether one of the folders holds an executable file of this name.
bool programIn(std::string_view name, const std::vector<std::filesystem::path>& folders);

// Whether an installed application answers to the name: its id, its menu name or its program.
bool installedApplicationNamed(std::string_view name, const std::vector<platform::DesktopEntry>& entries);

// The application that stands for the program file (a canonical path): among the entries whose
// program is that file, a shown one before a hidden one, then the one whose id or menu name is the
// file's name, then the one with the shortest menu name (a suite's own entry, "LibreOffice", before
// its parts' "LibreOffice Writer"). Null when no entry runs it.
const platform::DesktopEntry* applicationRunning(const std::filesystem::path& program,
                                                 const std::vector<platform::DesktopEntry>& entries,
                                                 const std::vector<std::filesystem::path>& folders);

} // namespace tallowby::ui
