#include "platform/user_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace tallowby::platform {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// A session started without HOME (a service, a bare su) still has a home of record.
std::string passwordHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr)
        return "";
    return found->pw_dir;
}

std::filesystem::path chosenFolder(const std::string& variableValue, const std::string& home,
                                   const char* fallbackUnderHome) {
    const std::filesystem::path set(variableValue);
    if (set.is_absolute())
        return set;
    const std::filesystem::path base(home);
    if (base.is_absolute())
        return base / fallbackUnderHome;
    return {};
}

} // namespace

UserFolders UserFolders::fromEnvironment() {
    UserFolders folders{variable("HOME"), variable("XDG_DATA_HOME"), variable("XDG_CONFIG_HOME")};
    if (folders.home.empty())
        folders.home = passwordHome();
    return folders;
}

std::filesystem::path UserFolders::dataFolder() const {
    return chosenFolder(dataHome, home, ".local/share");
}

std::filesystem::path UserFolders::configFolder() const {
    return chosenFolder(configHome, home, ".config");
}

} // namespace tallowby::platform
