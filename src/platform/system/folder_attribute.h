#pragma once
#include <filesystem>

namespace tallowby::platform {

// Marks the program folder hidden (and clears its other attributes) where the platform has such an
// attribute. Failures are ignored.
void setFolderHidden(const std::filesystem::path& folder);

} // namespace tallowby::platform
