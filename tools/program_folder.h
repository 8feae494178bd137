#pragma once
// Lays out a program folder: the user's data files on first run, and the files that come with the
// installation (alert sounds, icons) every time.
#include <filesystem>
#include <string>
#include <vector>

#include "store/text_file.h"

namespace tallowby::tools {

// The profile a fresh installation starts with.
inline const std::string kFirstProfile = "Default";

// config.db for a newcomer: the first profile, no autostart, the rules guarded by a ten-character
// check code, the whole-day panel shown, the window shown at start and a prompt to run again when
// the window is put away while the rules are stopped.
store::Lines firstRunConfig();

// Creates the folder and whatever of config.db, profiles.db and the first profile's files is
// missing; existing files hold the user's data and are left alone. The first profile's files are
// created only while profiles.db names it, so a profile the user removed does not come back. The
// sounds and icons are written afresh. Returns the paths it created or rewrote.
std::vector<std::filesystem::path> layOutProgramFolder(const std::filesystem::path& folder);

} // namespace tallowby::tools
