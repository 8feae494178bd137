#pragma once
// The system operations a program folder gets: the real machine's, or the sandbox's stand-ins
// inside the folder, as its SystemPaths say.
#include <filesystem>
#include <memory>

#include "platform/autostart.h"
#include "platform/shutdown.h"
#include "platform/system/system_paths.h"

namespace tallowby::platform {

// program: what the autostart entry starts at log-on (autostartProgramFor()).
std::unique_ptr<AutoStart> makeAutoStart(const SystemPaths& paths, const std::filesystem::path& program);
std::unique_ptr<ShutdownCommand> makeShutdown(const SystemPaths& paths);

} // namespace tallowby::platform
