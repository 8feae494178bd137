#pragma once
// What the rule editors accept before anything is stored: session times that keep the sessions of
// a profile apart, and process and website entries that the list format reads back unchanged.
// Each check gives the message to show, or nothing when the input is accepted.
#include <optional>
#include <string>
#include <string_view>

#include "store/text_file.h"

namespace tallowby::engine {

// The session span [start, end) against the sessions of the file, in file order; the first
// conflict decides the message. skipSession is the session being edited (-1 when adding). A time
// that cannot be read throws store::TimeFormatError.
std::optional<std::string> ValidateSessionTime(const store::Lines& sessionLines, std::string_view start,
                                               std::string_view end, int skipSession = -1);

// The text with leading and trailing blanks (spaces, tabs) removed.
std::string trimEntry(std::string_view text);

// How the system names a program: by any name (Linux), or by its .exe file (Windows).
enum class ProgramNaming { AnyName, ExeFile };
#ifdef _WIN32
inline constexpr ProgramNaming kSystemProgramNaming = ProgramNaming::ExeFile;
#else
inline constexpr ProgramNaming kSystemProgramNaming = ProgramNaming::AnyName;
#endif

// A process entry is a name a window's program answers to (an executable's file name, an installed
// application's id): not empty, no folder, no ";" and no control character. Where programs are
// named by their .exe files, it ends in ".exe" in any case, and no "\" names a folder either.
std::optional<std::string> processEntryFailure(std::string_view name,
                                               ProgramNaming naming = kSystemProgramNaming);

// A website entry becomes a name on a hosts line: at least four characters, no ";", no blank and
// no control character.
std::optional<std::string> websiteEntryFailure(std::string_view name);

} // namespace tallowby::engine
