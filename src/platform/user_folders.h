#pragma once
// The per-user folders of the XDG base directory rules. The values are handed in rather than read
// where they are used, so the same rules can be tried on any made-up home.
#include <filesystem>
#include <string>

namespace tallowby::platform {

struct UserFolders {
    std::string home;       // $HOME, or the home the password database gives when it is not set
    std::string dataHome;   // $XDG_DATA_HOME as set (maybe empty or relative)
    std::string configHome; // $XDG_CONFIG_HOME as set

    static UserFolders fromEnvironment();

    // $XDG_DATA_HOME where it is an absolute path (the rules ignore any other value), else
    // <home>/.local/share; empty when neither gives an absolute path.
    std::filesystem::path dataFolder() const;
    // $XDG_CONFIG_HOME, else <home>/.config, in the same way.
    std::filesystem::path configFolder() const;
};

} // namespace tallowby::platform
