// The user's folders on Windows: the known folders, never environment variables a caller may have
// changed. The roaming application data folder (%APPDATA%) holds both data and configuration.
#include <windows.h>
// After windows.h, which it needs.
#include <knownfolders.h>
#include <shlobj.h>

#include "os/path_text.h"
#include "platform/user_folders.h"
#include "platform/windows/known_folders.h"

namespace tallowby::platform {

UserFolders UserFolders::fromEnvironment() {
    using windows::knownFolder;
    const std::string appData = os::utf8Of(knownFolder(&FOLDERID_RoamingAppData));
    UserFolders folders{os::utf8Of(knownFolder(&FOLDERID_Profile)), appData, appData};
    for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86}) {
        if (std::string folder = os::utf8Of(knownFolder(id)); !folder.empty())
            folders.programFiles.push_back(std::move(folder));
    }
    return folders;
}

} // namespace tallowby::platform
