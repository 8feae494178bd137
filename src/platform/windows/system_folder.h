#pragma once
// The machine's files under the Windows system folder, wherever Windows is installed.
#include <filesystem>

namespace tallowby::platform::windows {

// The system folder as GetSystemDirectoryW tells it (never a fixed C:\Windows\System32). Empty when
// the system does not tell.
std::filesystem::path systemFolder();

// <system folder>\drivers\etc\hosts; empty when the system folder is unknown.
std::filesystem::path systemHostsFile();

} // namespace tallowby::platform::windows
