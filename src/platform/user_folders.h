#pragma once
// The per-user folders: on Linux by the XDG base directory rules, on Windows the known folders
// (%APPDATA% for both data and configuration). The values are handed in rather than read where they
// are used, so the same rules can be tried on any made-up home.
#include <filesystem>
#include <string>
#include <vector>

namespace tallowby::platform {

// Text in UTF-8.
struct UserFolders {
    std::string home;       // $HOME, or the home the password database gives when it is not set
    std::string dataHome;   // $XDG_DATA_HOME as set (maybe empty or relative)
    std::string configHome; // $XDG_CONFIG_HOME as set
    // Where installed programs live: on Windows the Program Files folders (64-bit and 32-bit), a
    // program in which keeps the user's data in the user's folders. None on Linux.
    std::vector<std::string> programFiles{};

    static UserFolders fromEnvironment();

    // $XDG_DATA_HOME where it is an absolute path (the rules ignore any other value), else
    // <home>/.local/share; empty when neither gives an absolute path.
    std::filesystem::path dataFolder() const;
    // $XDG_CONFIG_HOME, else <home>/.config, in the same way.
    std::filesystem::path configFolder() const;
};

} // namespace tallowby::platform
