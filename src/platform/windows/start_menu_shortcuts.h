#pragma once
// The installed applications as the Start menu knows them: the shortcuts (.lnk) in the user's and
// all users' Start Menu\Programs, each read to the program file it starts. An application is listed
// by its shortcut's name, and known by its program's file name ("notepad++.exe"), which is what its
// windows answer to and what a process list names.
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/desktop_entries.h"

namespace tallowby::platform::windows {

class StartMenuShortcuts : public DesktopEntries {
  public:
    // The folders are read in this order, subfolders included.
    explicit StartMenuShortcuts(std::vector<std::filesystem::path> folders) : folders_(std::move(folders)) {}

    // The user's Start Menu\Programs, then all users'.
    static std::vector<std::filesystem::path> startMenuFolders();

    // Read again when a shortcut was added, removed or changed in any folder since the last reading.
    const std::vector<DesktopEntry>& applications() override;

  private:
    using Stamps = std::vector<std::pair<std::filesystem::path, std::filesystem::file_time_type>>;
    Stamps stamps() const;

    std::vector<std::filesystem::path> folders_;
    Stamps read_;
    bool everRead_ = false;
    std::vector<DesktopEntry> entries_;
};

// The program file a shortcut starts, environment variables expanded; empty when it cannot be read
// or starts no file (a web address, a shell folder, an installer's advertised shortcut).
std::filesystem::path shortcutTarget(const std::filesystem::path& shortcut);

} // namespace tallowby::platform::windows
