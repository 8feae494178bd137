// The user's folders on Linux: the XDG variables and the home.
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

} // namespace

UserFolders UserFolders::fromEnvironment() {
    UserFolders folders{variable("HOME"), variable("XDG_DATA_HOME"), variable("XDG_CONFIG_HOME")};
    if (folders.home.empty())
        folders.home = passwordHome();
    return folders;
}

} // namespace tallowby::platform
