#pragma once
// "sound.db": line 0 the reminder alert sound, line 1 the shutdown alert sound, full paths.
#include "store/load_report.h"
#include "store/program_paths.h"
#include "store/rule_lists.h"

namespace tallowby::store {

// Replaces SoundLines with the file's lines when it exists. Then an entry 0 or 1 that is missing or
// names no existing file, or one too large to be played, is set to the default sound (from the installation
// folder of paths); that replacement stays in memory only. An entry naming a copy of a default sound that an
// earlier layout put in the data folder names an existing file, so it keeps playing that copy. Afterwards
// SoundLines has at least two entries. Returns whether the file was read.
bool loadSound(RuleLists& lists, const ProgramPaths& paths);

// The sound files sound.db names that are too large to be played (kMaxSoundFileBytes), each as a
// problem naming the file; a sound.db that cannot be read is one as well.
void checkSoundFiles(LoadReport& report, const ProgramPaths& paths);

// Writes exactly entries 0 and 1 of SoundLines as the file, then loadSound. Throws FileError; the
// entries then keep what the caller put in them.
void saveSound(RuleLists& lists, const ProgramPaths& paths);

} // namespace tallowby::store
