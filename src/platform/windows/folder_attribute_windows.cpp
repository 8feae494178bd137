#include <windows.h>

#include "platform/system/folder_attribute.h"

namespace tallowby::platform {

void setFolderHidden(const std::filesystem::path& folder) {
    // Hidden alone: read-only, system and the rest are cleared, as the folder had them from nobody
    // but the user.
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

} // namespace tallowby::platform
