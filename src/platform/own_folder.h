#pragma once
#include <filesystem>

namespace tallowby::platform {

// The folder of the running executable, links resolved; empty when the system does not say.
std::filesystem::path ownExecutableFolder();

} // namespace tallowby::platform
