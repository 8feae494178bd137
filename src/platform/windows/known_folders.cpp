#include "platform/windows/known_folders.h"

#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

namespace tallowby::platform::windows {

std::filesystem::path knownFolder(const void* folderId) {
    PWSTR text = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(*static_cast<const KNOWNFOLDERID*>(folderId), KF_FLAG_DEFAULT,
                                         nullptr, &text)))
        folder = text;
    // Freed whether or not the call succeeded, as the call asks.
    ::CoTaskMemFree(text);
    return folder;
}

} // namespace tallowby::platform::windows
