#pragma once
// Follows program names on the search path and program files to the programs that end up owning
// their windows: through links (the alternatives system's included), launcher scripts that exec a
// program, and the desktop entries that run them.
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_entries.h"
#include "platform/program_launchers.h"

namespace tallowby::platform {

class PathLaunchers : public ProgramLaunchers {
  public:
    // A script larger than this is no launcher; it is not read.
    static constexpr std::size_t kLargestScript = 64 * 1024;
    // Links and launchers followed one after another; a longer way is a loop.
    static constexpr int kLongestWay = 12;

    // `folders` is the search path, in order (searchPathFolders()); `entries` may be null.
    PathLaunchers(std::vector<std::filesystem::path> folders, DesktopEntries* entries);

    // Kept from call to call; worked out again once a folder on the way, or the installed
    // applications, changed (a package installed or removed, an alternative switched).
    ProgramReach reachOf(std::string_view name) override;
    ProgramReach reachOfFile(const std::filesystem::path& file) override;

    // How often the way of a name was worked out, for the tests of the keeping.
    int followings() const { return followings_; }

  private:
    struct Way;
    void forgetIfChanged();
    // The program file of the name on the search path; letter case ignored unless `exactly`.
    std::filesystem::path lookUp(std::string_view name, bool exactly = false) const;
    // The file an entry's Exec runs: its path, or its name looked up; empty when there is none.
    std::filesystem::path programFileOf(const DesktopEntry& entry) const;
    void follow(const std::filesystem::path& file, Way& way, int depth);
    void followScript(std::string_view text, Way& way, int depth);
    void followCommand(const std::vector<std::string>& words, Way& way, int depth);
    void stampFolder(const std::filesystem::path& folder);

    std::vector<std::filesystem::path> folders_;
    DesktopEntries* entries_;
    // The folders looked at, each with its change time (-1: missing).
    std::map<std::filesystem::path, std::int64_t> stamps_;
    int entriesReading_ = -1;
    // The installed applications' programs by the file their Exec runs.
    std::map<std::filesystem::path, std::vector<std::string>> entryPrograms_;
    std::map<std::string, ProgramReach, std::less<>> names_;
    std::map<std::filesystem::path, ProgramReach> files_;
    int followings_ = 0;
};

// The program a client hands its windows to, where that is known ("gnome-terminal" asks
// "gnome-terminal-server"); empty for any other.
std::string_view windowsHandedTo(std::string_view program);

} // namespace tallowby::platform
