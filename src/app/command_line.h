#pragma once
// The program takes no options of its own; like every Debian program it still answers --help and
// --version, and refuses anything else rather than starting as though nothing had been asked.
#include <optional>
#include <ostream>

namespace tallowby::app {

// The exit status when the command line ends the program here (0 after --help or --version, 2
// for an argument it does not take, told on err), or nothing to go on. "-session ID", which a
// session manager adds when it starts the program again at log-on, is left to Qt.
std::optional<int> answerCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace tallowby::app
