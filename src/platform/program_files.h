#pragma once
// What a program file is on this system and where the process pickers look for one: the folders of
// the program search path (PATH), and the folder and file kinds Browse's open-file dialog starts
// with. Linux: executable files, /usr/bin. Windows: .exe files, the Program Files folder.
#include <filesystem>
#include <string>
#include <vector>

namespace tallowby::platform {

// The absolute folders of the search path in their order, each once; relative and empty ones are
// left out (they would depend on where the program was started).
std::vector<std::filesystem::path> programSearchFolders();

// Whether the file is a program this system starts by itself: a regular file that may be run
// (Linux), a regular .exe file (Windows).
bool isProgramFile(const std::filesystem::path& file);

struct ProgramFileDialog {
    std::filesystem::path folder;
    // The kinds of file offered, in the Qt file dialog's filter syntax.
    std::string filter;
};
ProgramFileDialog programFileDialog();

} // namespace tallowby::platform
