#include "platform/linux/path_launchers.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "engine/program_choice.h"
#include "platform/linux/xdg_desktop_entries.h"
#include "platform/program_command.h"
#include "platform/window_names.h"

namespace tallowby::platform {

namespace fs = std::filesystem;

struct PathLaunchers::Way {
    ProgramReach reach;
    std::set<fs::path> seen;
};

namespace {

// Values a variable of a launcher script may take before the way forks too much to follow.
constexpr std::size_t kMostValues = 8;
// Variables inside variables ("HACK=$HACKDIR/nethack-$HACKSTYLE") up to this depth.
constexpr int kDeepestExpansion = 4;

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kHandOvers{{
    {"gnome-terminal", "gnome-terminal-server"},
    {"oosplash", "soffice.bin"},
    {"soffice", "soffice.bin"},
    {"mate-terminal.wrapper", "mate-terminal"},
}};

std::int64_t changeTime(const fs::path& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        return -1;
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

bool runnable(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

std::string fileName(const fs::path& file) {
    return file.filename().string();
}

std::optional<std::string> head(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(PathLaunchers::kLargestScript + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

bool isShell(std::string_view program) {
    constexpr std::array<std::string_view, 6> shells{"sh", "bash", "dash", "zsh", "ksh", "mksh"};
    return std::ranges::find(shells, programFileName(program)) != shells.end();
}

bool nameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// What a launcher script sets its variables to: every value any line gives (the branches of a case
// or an if each give one), defaults of ${NAME=value} and ${NAME:-value} included.
using Variables = std::map<std::string, std::vector<std::string>, std::less<>>;

void noteValue(Variables& variables, std::string name, std::string value) {
    std::vector<std::string>& values = variables[std::move(name)];
    if (values.size() < kMostValues && std::ranges::find(values, value) == values.end())
        values.push_back(std::move(value));
}

void noteDefaults(std::string_view command, Variables& variables) {
    for (auto at = command.find("${"); at != std::string_view::npos; at = command.find("${", at + 2)) {
        std::size_t end = at + 2;
        while (end < command.size() && nameChar(command[end]))
            ++end;
        std::string_view rest = command.substr(end);
        if (rest.starts_with(':'))
            rest.remove_prefix(1);
        if (!rest.starts_with('=') && !rest.starts_with('-'))
            continue;
        const auto close = rest.find('}');
        if (close == std::string_view::npos)
            continue;
        const std::vector<std::string> value = execWords(rest.substr(1, close - 1), 1);
        noteValue(variables, std::string(command.substr(at + 2, end - at - 2)),
                  value.empty() ? "" : value[0]);
    }
}

// The values of a word with its variables put in; nothing when it holds one the script does not
// set (the environment's, an argument's) or a command's output.
std::optional<std::vector<std::string>> expanded(std::string_view word, const Variables& variables,
                                                 int depth = 0) {
    if (depth > kDeepestExpansion || word.find('`') != std::string_view::npos ||
        word.find("$(") != std::string_view::npos)
        return std::nullopt;
    const auto dollar = word.find('$');
    if (dollar == std::string_view::npos)
        return std::vector<std::string>{std::string(word)};
    std::size_t end = dollar + 1;
    std::string name;
    std::string_view fallback;
    bool hasFallback = false;
    if (end < word.size() && word[end] == '{') {
        const auto close = word.find('}', end);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view inside = word.substr(end + 1, close - end - 1);
        std::size_t nameEnd = 0;
        while (nameEnd < inside.size() && nameChar(inside[nameEnd]))
            ++nameEnd;
        name = std::string(inside.substr(0, nameEnd));
        std::string_view rest = inside.substr(nameEnd);
        if (rest.starts_with(':'))
            rest.remove_prefix(1);
        if (rest.starts_with('-') || rest.starts_with('=')) {
            fallback = rest.substr(1);
            hasFallback = true;
        } else if (!rest.empty()) {
            return std::nullopt;
        }
        end = close + 1;
    } else {
        while (end < word.size() && nameChar(word[end]))
            ++end;
        name = std::string(word.substr(dollar + 1, end - dollar - 1));
    }
    std::vector<std::string> values;
    if (const auto found = variables.find(name); found != variables.end())
        values = found->second;
    else if (hasFallback)
        values.emplace_back(fallback);
    else
        return std::nullopt;
    std::vector<std::string> words;
    for (const std::string& value : values) {
        const auto inner =
            expanded(std::string(word.substr(0, dollar)) + value + std::string(word.substr(end)), variables,
                     depth + 1);
        if (!inner)
            return std::nullopt;
        for (const std::string& one : *inner)
            if (words.size() < kMostValues && std::ranges::find(words, one) == words.end())
                words.push_back(one);
    }
    return words;
}

// The commands of a script, one a line (continued lines joined), split at ";", "&&" and "||", with
// the keywords that open a branch taken off: "then exec foo" is "exec foo".
std::vector<std::string> commandsOf(std::string_view text) {
    std::vector<std::string> commands;
    std::string line;
    const auto finish = [&commands](std::string_view whole) {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= whole.size(); ++i) {
            const bool atEnd = i == whole.size();
            const bool split =
                !atEnd && (whole[i] == ';' || whole.substr(i, 2) == "&&" || whole.substr(i, 2) == "||");
            if (!atEnd && !split)
                continue;
            std::string_view command = whole.substr(start, i - start);
            start = i + (atEnd || whole[i] == ';' ? 1 : 2);
            if (!atEnd && whole[i] != ';')
                ++i;
            for (bool again = true; again;) {
                while (!command.empty() && (command.front() == ' ' || command.front() == '\t'))
                    command.remove_prefix(1);
                again = false;
                for (std::string_view keyword : {"then ", "else ", "do ", "{ ", "( ", "! "})
                    if (command.starts_with(keyword)) {
                        command.remove_prefix(keyword.size());
                        again = true;
                    }
                // A case branch's pattern: "*) XTERM=xterm".
                if (const auto close = command.find(')');
                    close != std::string_view::npos && close + 1 < command.size() &&
                    command.substr(0, close).find_first_of(" \t=$\"'(") == std::string_view::npos) {
                    command.remove_prefix(close + 1);
                    again = true;
                }
            }
            if (!command.empty() && !command.starts_with('#'))
                commands.emplace_back(command);
        }
    };
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view piece = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (piece.ends_with('\\')) {
            line += piece.substr(0, piece.size() - 1);
            continue;
        }
        line += piece;
        finish(line);
        line.clear();
    }
    finish(line);
    return commands;
}

// "NAME=value", "export NAME=value": the variable and its value's text.
std::optional<std::pair<std::string, std::string>> assignment(const std::string& command) {
    std::string_view text = command;
    for (std::string_view keyword : {"export ", "readonly ", "local ", "declare "})
        if (text.starts_with(keyword))
            text.remove_prefix(keyword.size());
    std::size_t end = 0;
    while (end < text.size() && nameChar(text[end]))
        ++end;
    if (end == 0 || end == text.size() || text[end] != '=')
        return std::nullopt;
    const std::vector<std::string> value = execWords(text.substr(end + 1), 2);
    // "A=1 program": a setting for one command, not the script's.
    if (value.size() > 1)
        return std::nullopt;
    return std::pair{std::string(text.substr(0, end)), value.empty() ? std::string() : value[0]};
}

std::string_view handedTo(std::string_view program);

// A known client on the way hands its windows to its server, which then owns them.
void handOver(ProgramReach& reach) {
    for (const std::string& program : std::vector<std::string>(reach.names))
        if (const std::string_view server = handedTo(program); !server.empty()) {
            addName(reach.names, server);
            reach.owner = server;
            reach.followed = true;
        }
}

std::string_view handedTo(std::string_view program) {
    for (const auto& [client, server] : kHandOvers)
        if (program == client)
            return server;
    return {};
}

} // namespace

std::string_view windowsHandedTo(std::string_view program) {
    return handedTo(program);
}

PathLaunchers::PathLaunchers(std::vector<fs::path> folders, DesktopEntries* entries)
    : folders_(std::move(folders)), entries_(entries) {}

void PathLaunchers::stampFolder(const fs::path& folder) {
    stamps_.try_emplace(folder, changeTime(folder));
}

void PathLaunchers::forgetIfChanged() {
    static const std::vector<DesktopEntry> kNone;
    const std::vector<DesktopEntry>& applications = entries_ != nullptr ? entries_->applications() : kNone;
    const int reading = entries_ != nullptr ? entries_->readings() : 0;
    const bool changed = reading != entriesReading_ || std::ranges::any_of(stamps_, [](const auto& stamp) {
                             return changeTime(stamp.first) != stamp.second;
                         });
    if (!changed)
        return;
    stamps_.clear();
    names_.clear();
    files_.clear();
    entryPrograms_.clear();
    entriesReading_ = reading;
    for (const fs::path& folder : folders_)
        stampFolder(folder);
    for (const DesktopEntry& entry : applications) {
        if (entry.programPath.empty() || isInterpreter(entry.program))
            continue;
        const fs::path file = programFileOf(entry);
        std::error_code error;
        const fs::path real = fs::canonical(file, error);
        if (!file.empty() && !error)
            addName(entryPrograms_[real], entry.program);
    }
}

fs::path PathLaunchers::programFileOf(const DesktopEntry& entry) const {
    return entry.programPath.find('/') != std::string::npos ? fs::path(entry.programPath)
                                                            : lookUp(entry.programPath, true);
}

fs::path PathLaunchers::lookUp(std::string_view name, bool exactly) const {
    if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..")
        return {};
    for (const fs::path& folder : folders_)
        if (runnable(folder / name))
            return folder / name;
    if (exactly)
        return {};
    // "Firefox" for "firefox": the name as a person types it.
    for (const fs::path& folder : folders_) {
        std::error_code error;
        for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error))
            if (engine::sameName(fileName(it->path()), name) && runnable(it->path()))
                return it->path();
    }
    return {};
}

ProgramReach PathLaunchers::reachOf(std::string_view name) {
    forgetIfChanged();
    if (const auto known = names_.find(name); known != names_.end())
        return known->second;
    Way way;
    addName(way.reach.names, name);
    if (const fs::path file = lookUp(name); !file.empty())
        follow(file, way, 0);
    // A menu name or id reaches the program its entry starts, and what that leads to: the menu's
    // "NetHack (No GUI)" the terminal nethack-console runs in. An entry that starts an interpreter
    // would reach every script it runs; its windows answer to the entry on their own.
    static const std::vector<DesktopEntry> kNone;
    for (const DesktopEntry& entry : entries_ != nullptr ? entries_->applications() : kNone) {
        if (entry.programPath.empty() || isInterpreter(entry.program) ||
            (!engine::namesMatch(name, entry.id) &&
             std::ranges::none_of(entry.menuNames, [&](const std::string& menuName) {
                 return engine::namesMatch(name, menuName);
             })))
            continue;
        addName(way.reach.names, entry.program);
        const fs::path file = programFileOf(entry);
        if (!file.empty())
            follow(file, way, 0);
    }
    ++followings_;
    return names_.emplace(std::string(name), std::move(way.reach)).first->second;
}

ProgramReach PathLaunchers::reachOfFile(const fs::path& file) {
    forgetIfChanged();
    if (const auto known = files_.find(file); known != files_.end())
        return known->second;
    Way way;
    follow(file, way, 0);
    ++followings_;
    return files_.emplace(file, std::move(way.reach)).first->second;
}

void PathLaunchers::follow(const fs::path& file, Way& way, int depth) {
    ProgramReach& reach = way.reach;
    if (depth > kLongestWay || !file.is_absolute() || !way.seen.insert(file).second)
        return;
    stampFolder(file.parent_path());
    std::error_code error;
    if (fs::is_symlink(file, error)) {
        if (const std::string name = fileName(file); !isInterpreter(name))
            addName(reach.names, name);
        const fs::path target = fs::read_symlink(file, error);
        if (!error)
            follow((target.is_absolute() ? target : file.parent_path() / target).lexically_normal(), way,
                   depth + 1);
        return;
    }
    const fs::path real = fs::canonical(file, error);
    if (error || !runnable(real))
        return;
    if (real != file)
        stampFolder(real.parent_path());
    reach.files.push_back(real);
    const std::string name = fileName(real);
    addName(reach.names, name);
    // A launcher script owns no windows: the owner is the last program of its own on the way, the
    // script only while there is none.
    if (reach.owner.empty())
        reach.owner = name;
    // An interpreter's own windows (python3 running IDLE) answer to it; what it is made to run
    // is worked out where it is run.
    if (isInterpreter(name)) {
        reach.owner = name;
        reach.followed = true;
        return;
    }
    if (const auto run = entryPrograms_.find(real); run != entryPrograms_.end()) {
        for (const std::string& program : run->second)
            addName(reach.names, program);
        reach.followed = true;
    }
    handOver(reach);
    const std::optional<std::string> text = head(real);
    if (!text || !text->starts_with("#!")) {
        // A program of its own, unless it hands its windows over.
        if (windowsHandedTo(name).empty())
            reach.owner = name;
        reach.followed = true;
        return;
    }
    const std::vector<std::string> shebang =
        execWords(std::string_view(*text).substr(2, text->find('\n') - 2), 8);
    const std::size_t at = programWordIndex(shebang);
    if (at < shebang.size() && isShell(shebang[at])) {
        if (text->size() <= kLargestScript)
            followScript(*text, way, depth);
        return;
    }
    // A script its interpreter runs: its windows answer to its name ("gnome-terminal.wrapper" is
    // known as "gnome-terminal" too, and so hands over).
    addName(reach.names, bareProgramName(name));
    // A launcher that calls a package's main runs what python3 -m runs: "idle" reaches the windows
    // of python3 -m idlelib.
    addName(reach.names, launcherPackage(*text));
    reach.owner = name;
    reach.followed = true;
    handOver(reach);
}

void PathLaunchers::followScript(std::string_view text, Way& way, int depth) {
    Variables variables;
    std::vector<std::vector<std::string>> execs;
    for (const std::string& command : commandsOf(text)) {
        noteDefaults(command, variables);
        if (const auto set = assignment(command))
            noteValue(variables, set->first, set->second);
        else if (command.starts_with("exec ") || command.starts_with("exec\t"))
            execs.push_back(execWords(command, 64));
    }
    for (std::vector<std::string>& words : execs) {
        // exec's own options: -a NAME, -c, -l.
        std::size_t at = 1;
        while (at < words.size() && words[at].starts_with('-')) {
            at += words[at] == "-a" ? 2 : 1;
        }
        // "exec >log 2>&1" only redirects the script's output.
        while (at < words.size() && assignment(words[at]))
            ++at;
        words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(std::min(at, words.size())));
        if (!words.empty() && (words[0].find_first_of("<>") != std::string::npos))
            continue;
        words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(programWordIndex(words)));
        if (words.empty())
            continue;
        const auto programs = expanded(words[0], variables);
        if (!programs)
            continue;
        for (const std::string& program : *programs) {
            std::vector<std::string> command{program};
            for (std::size_t i = 1; i < words.size(); ++i) {
                const auto values = expanded(words[i], variables);
                command.push_back(values && !values->empty() ? values->front() : words[i]);
            }
            followCommand(command, way, depth);
        }
    }
}

void PathLaunchers::followCommand(const std::vector<std::string>& command, Way& way, int depth) {
    const std::string& program = command.front();
    if (isInterpreter(program)) {
        // "exec python3 /usr/share/tool/tool.py": the windows answer to the script.
        for (const std::string& name : commandNames(program, command)) {
            if (name.starts_with('$'))
                continue;
            if (!way.reach.followed || way.reach.owner.empty())
                way.reach.owner = name;
            addName(way.reach.names, name);
            way.reach.followed = true;
        }
        return;
    }
    if (program.find('/') != std::string::npos)
        follow(fs::path(program).lexically_normal(), way, depth + 1);
    else if (const fs::path file = lookUp(program); !file.empty())
        follow(file, way, depth + 1);
}

} // namespace tallowby::platform
