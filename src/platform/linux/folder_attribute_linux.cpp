#include "platform/system/folder_attribute.h"

namespace tallowby::platform {

// Linux file systems keep no hidden attribute for folders (hiding is a leading dot in the name, and
// renaming the program folder would break its autostart entry), so there is nothing to set.
void setFolderHidden(const std::filesystem::path&) {}

} // namespace tallowby::platform
