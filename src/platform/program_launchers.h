#pragma once
// Where a program name or file leads: a link, an alternatives link or a launcher script hands over
// to another program, and that one owns the windows. A name on a rule reaches the windows of every
// program on its way.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::platform {

struct ProgramReach {
    // The name or file's own name first, then every name on the way: the files links lead to, what
    // a launcher script runs, the script an interpreter is made to run, the programs of the
    // installed applications that run one of them and the program a known client hands its windows
    // to. Interpreters are left out: they run every script, not this one.
    std::vector<std::string> names{};
    // The way ends at a program that can own windows (a binary program, a script an interpreter
    // runs, an installed application's program); false when it cannot be followed (a shell script
    // that runs something it does not name, a name that is no program).
    bool followed = false;
    // The program that ends up owning the windows, as far as the way tells: the last program file
    // on it, the script an interpreter is made to run, or the server a known client hands its
    // windows to ("soffice.bin"); empty when the way reaches no program.
    std::string owner{};
    // The files on the way, without links, in order: a browsed file's own first.
    std::vector<std::filesystem::path> files{};
};

// The absolute folders of $PATH, in order, each once; relative and empty ones are left out (they
// would depend on where the program was started).
std::vector<std::filesystem::path> searchPathFolders();

// Where a name leads where launchers are not followed: to a program file of that name on the search
// path, taken as the program itself; else to the name alone.
ProgramReach programOnSearchPath(std::string_view name);

class ProgramLaunchers {
  public:
    virtual ~ProgramLaunchers() = default;
    // A name as typed, looked up on the search path (ignoring case when no file has it as typed).
    virtual ProgramReach reachOf(std::string_view name) = 0;
    // A program file chosen by its path.
    virtual ProgramReach reachOfFile(const std::filesystem::path& file) = 0;
};

} // namespace tallowby::platform
