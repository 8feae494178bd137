#pragma once
// The folders Windows keeps for each user and for installed programs, wherever the machine has them.
#include <filesystem>

namespace tallowby::platform::windows {

// SHGetKnownFolderPath for a KNOWNFOLDERID (FOLDERID_RoamingAppData, FOLDERID_ProgramFiles, ...);
// empty when the system does not tell.
std::filesystem::path knownFolder(const void* folderId);

} // namespace tallowby::platform::windows
