// The autostart entry must be read back by a desktop's launcher as exactly the companion's path.
// The reader below follows the Desktop Entry Specification's order: string escapes first, then the
// Exec quoting, then field codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/linux/desktop_entry.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

std::string unescapeStringValue(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next == 's' ? ' ' : next;
    }
    return out;
}

// One Exec argument as a launcher sees it; nullopt where the text is not one well-formed argument.
std::optional<std::string> readExecArgument(const std::string& value) {
    const std::string text = unescapeStringValue(value);
    std::string arg;
    if (!text.empty() && text.front() == '"') {
        std::size_t i = 1;
        for (; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] == '\\') {
                ++i;
                if (i == text.size() || std::string_view("\"`$\\").find(text[i]) == std::string_view::npos) {
                    return std::nullopt;
                }
            }
            arg += text[i];
        }
        if (i + 1 != text.size()) {
            return std::nullopt;
        }
    } else {
        if (text.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos) {
            return std::nullopt; // a reserved character outside quotes
        }
        arg = text;
    }
    std::string out;
    for (std::size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] == '%') {
            if (i + 1 == arg.size() || arg[i + 1] != '%') {
                return std::nullopt; // a field code would be expanded
            }
            ++i;
        }
        out += arg[i];
    }
    return out;
}

class ExecArgumentRoundTrip : public testing::TestWithParam<std::string> {};

TEST_P(ExecArgumentRoundTrip, LauncherReadsTheSamePath) {
    EXPECT_EQ(readExecArgument(desktopExecArgument(GetParam())), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Paths, ExecArgumentRoundTrip,
                         testing::Values("/opt/tallowby/tallowby_start",
                                         "/home/ann/My Programs/tallowby_start", "/srv/a\"b/tallowby_start",
                                         "/srv/$HOME/tallowby_start", "/srv/back\\slash/tallowby_start",
                                         "/srv/100%/tallowby_start", "/srv/%f/tallowby_start",
                                         "/srv/it's/tallowby_start", "/srv/`cmd`;rm -rf ~/x/tallowby_start",
                                         "/srv/tab\there/tallowby_start", "/srv/line\nbreak/tallowby_start",
                                         "/srv/Zürich (copy)/tallowby_start"));

TEST(ExecArgument, PlainPathsStayUnquotedAndQuotedBackslashesTakeFour) {
    EXPECT_EQ(desktopExecArgument("/opt/tallowby/tallowby_start"), "/opt/tallowby/tallowby_start");
    EXPECT_EQ(desktopExecArgument("/a b/x"), "\"/a b/x\"");
    // The specification's own example: a literal backslash in a quoted argument is written as four.
    EXPECT_EQ(desktopExecArgument("/a\\b"), "\"/a\\\\\\\\b\"");
}

// The entry's keys and their values as written, the group header left out.
std::map<std::string, std::string> entryKeys(const std::string& entry) {
    std::istringstream lines(entry);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "[Desktop Entry]");
    std::map<std::string, std::string> keys;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        EXPECT_NE(eq, std::string::npos) << line;
        EXPECT_TRUE(keys.emplace(line.substr(0, eq), line.substr(eq + 1)).second)
            << "a repeated key: " << line;
    }
    return keys;
}

TEST(AutostartDesktopEntry, IsAnApplicationEntryStartingTheProgramWhileItIsThere) {
    const std::string program = "/opt/my apps/100%/tallowby\\x/tallowby_start";
    const std::string entry = autostartDesktopEntry(program);
    EXPECT_EQ(entry.find('\r'), std::string::npos);
    ASSERT_FALSE(entry.empty());
    EXPECT_EQ(entry.back(), '\n');

    const auto keys = entryKeys(entry);
    for (const auto& [key, value] : std::map<std::string, std::string>{{"Type", "Application"},
                                                                       {"Name", "Tallowby"},
                                                                       {"X-GNOME-Autostart-enabled", "true"},
                                                                       {"NoDisplay", "false"}})
        EXPECT_EQ(keys.at(key), value) << key;
    EXPECT_EQ(readExecArgument(keys.at("Exec")), program);
    // A session skips the entry while nothing is at this path: a removed program leaves no entry
    // that fails at every log-on.
    EXPECT_EQ(unescapeStringValue(keys.at("TryExec")), program);

    // And desktop sessions accept it as a whole.
    if (std::system("command -v desktop-file-validate >/dev/null") != 0)
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    test::TempFolder temp;
    const auto file = temp / "tallowby.desktop";
    test::writeFile(file, entry);
    EXPECT_EQ(std::system(("desktop-file-validate '" + file.string() + "'").c_str()), 0);
}

} // namespace
} // namespace tallowby::platform
