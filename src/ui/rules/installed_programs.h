#pragma once
// What is installed, as the process picker looks for it: programs on the search path
// (platform::programSearchFolders()) and the desktop entries (on Windows the Start menu's shortcuts)
// that run them. Names are compared ignoring case, as the window sweep compares
// them.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_entries.h"

namespace tallowby::ui {

// The file names of the executable files in the folders, each once, in the order found.
std::vector<std::string> programsIn(const std::vector<std::filesystem::path>& folders);

// The name a program file is best listed by when desktop entries run it (file is a canonical
// path): the application's id where one application runs it ("idle"); where several do, as a
// suite's launcher runs Writer, Calc and the rest, the program name their entries share
// ("libreoffice"), which the windows of each of them answer to. Entries shown in the menus count
// before hidden ones. Empty when no entry runs the file.
std::string applicationNameOf(const std::filesystem::path& file,
                              const std::vector<platform::DesktopEntry>& entries,
                              const std::vector<std::filesystem::path>& folders);

} // namespace tallowby::ui
