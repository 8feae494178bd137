#pragma once
// The machine's files under the Windows system folder, wherever Windows is installed.
#include <filesystem>

namespace tallowby::platform::windows {

// <system folder>\drivers\etc\hosts, the system folder as GetSystemDirectoryW tells it (never a
// fixed C:\Windows). Empty when the system does not tell.
std::filesystem::path systemHostsFile();

} // namespace tallowby::platform::windows
