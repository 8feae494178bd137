#include "platform/linux/desktop_entry.h"

#include <string_view>

namespace tallowby::platform {
namespace {

constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

std::string quoteIfReserved(const std::string& argument) {
    if (argument.find_first_of(kReservedInExec) == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    for (char c : argument) {
        if (kEscapedInQuotes.find(c) != std::string_view::npos) {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

// "%" starts a field code in Exec; a literal one is doubled.
std::string doublePercent(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '%') {
            out += '%';
        }
    }
    return out;
}

// The escapes every string value of a desktop entry goes through; readers undo them before they
// look at the quoting, hence the doubled backslashes of a quoted argument.
std::string escapeStringValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string desktopExecArgument(const std::string& argument) {
    return escapeStringValue(doublePercent(quoteIfReserved(argument)));
}

std::string autostartDesktopEntry(const std::filesystem::path& program) {
    // TryExec: once the program is removed, a log-on skips the entry instead of failing to start
    // what is not there; a reinstall at the same path makes it start again.
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tallowby\n"
           "TryExec=" +
           escapeStringValue(program.string()) +
           "\n"
           "Exec=" +
           desktopExecArgument(program.string()) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n"
           "NoDisplay=false\n";
}

} // namespace tallowby::platform
