#pragma once
// The names a window's program is known by: what a user may list to block or allow it.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/program_launchers.h"
#include "platform/window_list.h"

namespace tallowby::platform {

struct ProgramNames {
    // The executable's file name as the process list reports it ("soffice.bin").
    std::string executable;
    // The id of the installed application the window belongs to ("libreoffice-writer"); empty when
    // no desktop entry answers to it.
    std::string application;
    // What an interpreter or runtime runs as the program: its script, module, jar or main class
    // ("tknotes.py", "idlelib", "game.jar"); empty for a program of its own.
    std::string script{};
    // Every name the window answers to, each once, compared without regard to case: the two above,
    // the window's class and instance names, the script a interpreter runs, the programs running in a
    // terminal window.
    std::vector<std::string> all;

    // The name a picker records for the window: the most specific one a user recognises, so that it
    // reaches this program and not every program of the same interpreter.
    const std::string& recorded() const {
        return !application.empty() ? application : !script.empty() ? script : executable;
    }
};

class ProgramNamer {
  public:
    virtual ~ProgramNamer() = default;
    virtual ProgramNames namesOf(const TopLevelWindow& window) = 0;
    // Where a listed name leads; where launchers cannot be followed, to itself or to the program file
    // of that name on the search path.
    virtual ProgramReach reachOf(std::string_view listed) { return programOnSearchPath(listed); }
    // Where a program file leads; where launchers cannot be followed, to the file itself.
    virtual ProgramReach reachOfFile(const std::filesystem::path& file) {
        return {.names = {file.filename().string()},
                .followed = true,
                .owner = file.filename().string(),
                .files = {file}};
    }
};

} // namespace tallowby::platform
