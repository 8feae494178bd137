#pragma once
// An installed program's data folder is filled from the installation's default files: whatever of
// the user's own files (the options, the profile list, the sound choice, the profiles' rules) the
// folder lacks is copied in, at every start, and nothing there is ever replaced. The help page, the
// sounds and the icons stay in the installation and are read from there (store::ProgramPaths'
// installation folder), so an upgrade brings new ones; copies an earlier layout made are left be.
#include <filesystem>
#include <vector>

namespace tallowby::platform {

// Makes the data folder (mode 0700, with any missing folder above it) and copies into it each of
// the user's default files it lacks. A profile's files are copied only while the data folder's profile list
// names the profile, so a profile the user removed does not come back. Each copy is complete
// before it gets its name, so a program killed meanwhile leaves no half file. Runs while the
// program's single-instance lock is held: no other Tallowby writes the folder then. Returns the
// copied files, relative to the folder; throws store::FileError.
std::vector<std::filesystem::path> fillWithDefaults(const std::filesystem::path& defaultsFolder,
                                                    const std::filesystem::path& dataFolder);

} // namespace tallowby::platform
