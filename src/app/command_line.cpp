#include "command_line.h"

#include <string_view>

#ifndef TALLOWBY_VERSION
#define TALLOWBY_VERSION "unknown"
#endif

namespace tallowby::app {
namespace {

constexpr std::string_view kUsage =
    "Usage: tallowby [--help | --version]\n"
    "Blocks distracting programs and websites on a weekly schedule.\n"
    "\n"
    "Tallowby takes no options: its rules and options are set in its window, which needs a\n"
    "desktop session. Its help page (Help > Content) and the manual page tallowby(1) explain them.\n"
    "\n"
    "  --help     show this help and end\n"
    "  --version  show the version and end\n";

} // namespace

std::optional<int> answerCommandLine(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            out << kUsage;
            return 0;
        }
        if (argument == "--version") {
            out << "tallowby " TALLOWBY_VERSION "\n";
            return 0;
        }
        if (argument == "-session" && i + 1 < argc) {
            ++i;
            continue;
        }
        err << "tallowby: unknown argument '" << argument
            << "': Tallowby takes no options (try 'tallowby --help')\n";
        return 2;
    }
    return std::nullopt;
}

} // namespace tallowby::app
