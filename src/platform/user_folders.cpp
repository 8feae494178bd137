#include "platform/user_folders.h"

#include "os/path_text.h"

namespace tallowby::platform {
namespace {

std::filesystem::path chosenFolder(const std::string& variableValue, const std::string& home,
                                   const char* fallbackUnderHome) {
    const std::filesystem::path set = os::pathFromUtf8(variableValue);
    if (set.is_absolute())
        return set;
    const std::filesystem::path base = os::pathFromUtf8(home);
    if (base.is_absolute())
        return base / fallbackUnderHome;
    return {};
}

} // namespace

std::filesystem::path UserFolders::dataFolder() const {
    return chosenFolder(dataHome, home, ".local/share");
}

std::filesystem::path UserFolders::configFolder() const {
    return chosenFolder(configHome, home, ".config");
}

} // namespace tallowby::platform
