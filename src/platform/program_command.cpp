#include "platform/program_command.h"

#include <algorithm>
#include <array>

#include "engine/program_choice.h"

namespace tallowby::platform {

namespace {

enum class Runner { None, Python, Perl, Ruby, Node, Java, Shell, Loader };

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "python", "python3", "python3.11", "perl5.36.0": the name, then nothing or a version.
bool versioned(std::string_view name, std::string_view base) {
    if (!name.starts_with(base)) {
        return false;
    }
    const std::string_view rest = name.substr(base.size());
    return rest.empty() || (isDigit(rest.front()) &&
                            std::ranges::all_of(rest, [](char c) { return isDigit(c) || c == '.'; }));
}

bool oneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::ranges::find(words, word) != words.end();
}

Runner runnerOf(std::string_view executable) {
    std::string name = engine::lowerName(programFileName(executable));
    if (name == "ld.so" || (name.starts_with("ld-") && name.find(".so") != std::string::npos)) {
        return Runner::Loader;
    }
    // Windows's builds: "python3.11.exe", and the ones without a console (pythonw, javaw, rubyw,
    // wperl), which are how a script with a window of its own is started there; py is Python's
    // launcher.
    if (name.ends_with(".exe")) {
        name.resize(name.size() - 4);
    }
    if (versioned(name, "python") || versioned(name, "pythonw") || versioned(name, "pypy") ||
        oneOf(name, {"py", "pyw"})) {
        return Runner::Python;
    }
    if (versioned(name, "perl") || name == "wperl") {
        return Runner::Perl;
    }
    if (versioned(name, "ruby") || name == "rubyw") {
        return Runner::Ruby;
    }
    if (name == "node" || name == "nodejs") {
        return Runner::Node;
    }
    if (name == "java" || name == "javaw") {
        return Runner::Java;
    }
    constexpr std::array<std::string_view, 6> shells{"sh", "bash", "dash", "zsh", "ksh", "mksh"};
    if (std::ranges::find(shells, name) != shells.end()) {
        return Runner::Shell;
    }
    return Runner::None;
}

// What the interpreter's command line says it runs.
struct Target {
    enum Kind { Nothing, File, Module, Class } kind = Nothing;
    std::string name;
    std::size_t at = 0; // its index in the arguments
};

Target file(const std::vector<std::string>& args, std::size_t at) {
    if (at >= args.size() || args[at].empty() || args[at] == "-") {
        return {};
    }
    return {Target::File, args[at], at};
}

// Python: single-letter switches may be grouped ("-uB"); -c, -m, -W and -X take a value, attached
// or as the next word.
Target pythonTarget(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            return file(args, i + 1);
        }
        if (a.starts_with("--")) {
            if (a == "--check-hash-based-pycs") {
                ++i;
            }
            continue;
        }
        if (!a.starts_with('-') || a == "-") {
            return file(args, i);
        }
        for (std::size_t j = 1; j < a.size(); ++j) {
            const char c = a[j];
            if (c != 'c' && c != 'm' && c != 'W' && c != 'X' && c != 'Q') {
                continue;
            }
            std::string value = a.substr(j + 1);
            if (value.empty() && ++i < args.size()) {
                value = args[i];
            }
            if (c == 'c') {
                return {};
            }
            if (c == 'm') {
                return value.empty() ? Target{} : Target{Target::Module, value, i};
            }
            break;
        }
    }
    return {};
}

// Perl and Ruby: grouped switches; -e gives the program on the command line; some switches take
// the rest of their word ("-Ilib", "-i.bak") and a few the next word when nothing is attached.
Target perlOrRubyTarget(const std::vector<std::string>& args, std::string_view code,
                        std::string_view restTaking, std::string_view nextTaking) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            return file(args, i + 1);
        }
        if (!a.starts_with('-') || a == "-") {
            return file(args, i);
        }
        if (a.starts_with("--")) {
            continue;
        }
        for (std::size_t j = 1; j < a.size(); ++j) {
            const char c = a[j];
            if (code.find(c) != std::string_view::npos) {
                return {};
            }
            if (c == '0' || c == 'l') { // an optional octal number: "-l0", "-0777", "-le"
                while (j + 1 < a.size() && isDigit(a[j + 1])) {
                    ++j;
                }
                continue;
            }
            if (restTaking.find(c) == std::string_view::npos) {
                continue;
            }
            if (j + 1 == a.size() && nextTaking.find(c) != std::string_view::npos) {
                ++i;
            }
            break;
        }
    }
    return {};
}

Target nodeTarget(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            return file(args, i + 1);
        }
        if (oneOf(a, {"-e", "--eval", "-p", "--print", "-pe", "-i", "--interactive"}) ||
            a.starts_with("--eval=") || a.starts_with("--print=")) {
            return {};
        }
        if (oneOf(a, {"-r", "--require", "-C", "--conditions", "--import", "--loader",
                      "--experimental-loader", "--title", "--input-type", "--env-file"})) {
            ++i;
            continue;
        }
        if (!a.starts_with('-') || a == "-") {
            return file(args, i);
        }
    }
    return {};
}

Target javaTarget(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-jar") {
            return file(args, i + 1);
        }
        if (a == "-m" || a == "--module") {
            if (i + 1 >= args.size()) {
                return {};
            }
            // "module/main.Class"
            const std::string& module = args[i + 1];
            const auto slash = module.find('/');
            return {Target::Class, slash == std::string::npos ? module : module.substr(slash + 1), i + 1};
        }
        if (oneOf(a, {"-cp", "-classpath", "--class-path", "-p", "--module-path", "--upgrade-module-path",
                      "--add-modules", "--limit-modules", "--add-reads", "--add-exports", "--add-opens",
                      "--patch-module", "--source", "--enable-native-access"})) {
            ++i;
            continue;
        }
        if (!a.starts_with('-')) {
            return a.ends_with(".java") ? file(args, i) : Target{Target::Class, a, i};
        }
    }
    return {};
}

// POSIX shells: -c takes the commands from the command line and -s from the input; -o and -O take
// an option name; bash's --rcfile and --init-file a file.
Target shellTarget(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            return file(args, i + 1);
        }
        if (a == "--rcfile" || a == "--init-file") {
            ++i;
            continue;
        }
        if (a.starts_with("--")) {
            continue;
        }
        if ((!a.starts_with('-') && !a.starts_with('+')) || a == "-") {
            return file(args, i);
        }
        if (a.find_first_of("cs", 1) != std::string::npos) {
            return {};
        }
        if (a.find_first_of("oO", 1) != std::string::npos) {
            ++i;
        }
    }
    return {};
}

Target loaderTarget(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (oneOf(a,
                  {"--list", "--verify", "--help", "--version", "--list-tunables", "--list-diagnostics"})) {
            return {};
        }
        if (oneOf(a, {"--library-path", "--inhibit-rpath", "--audit", "--preload", "--argv0",
                      "--glibc-hwcaps-prefix", "--glibc-hwcaps-mask"})) {
            ++i;
            continue;
        }
        if (!a.starts_with("--")) {
            return file(args, i);
        }
    }
    return {};
}

void addOnce(std::vector<std::string>& names, std::string name) {
    if (!name.empty() && std::ranges::find(names, name) == names.end()) {
        names.push_back(std::move(name));
    }
}

} // namespace

bool isInterpreter(std::string_view executable) {
    return runnerOf(executable) != Runner::None;
}

std::string commandModule(std::string_view executable, const std::vector<std::string>& arguments) {
    if (runnerOf(executable) != Runner::Python) {
        return {};
    }
    const Target target = pythonTarget(arguments);
    return target.kind == Target::Module ? target.name : std::string();
}

std::string launcherPackage(std::string_view scriptText) {
    constexpr std::string_view kFrom = "from ";
    constexpr std::string_view kImportMain = " import main";
    std::size_t at = 0;
    while (at < scriptText.size()) {
        const std::size_t end = std::min(scriptText.find('\n', at), scriptText.size());
        std::string_view line = scriptText.substr(at, end - at);
        at = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        // Only at the start of a line: a launcher imports its main at the top level.
        if (!line.starts_with(kFrom)) {
            continue;
        }
        const std::size_t import = line.find(kImportMain);
        if (import == std::string_view::npos) {
            continue;
        }
        const std::string_view rest = line.substr(import + kImportMain.size());
        if (!rest.empty() && rest.front() != ' ' && rest.front() != '#' && rest.front() != ',') {
            continue; // "import mainloop"
        }
        const std::string_view module = line.substr(kFrom.size(), import - kFrom.size());
        if (module.empty() || module.starts_with('.') ||
            module.find_first_of(" \t") != std::string_view::npos) {
            continue;
        }
        return std::string(module.substr(0, module.find('.')));
    }
    return {};
}

std::string_view programFileName(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string bareProgramName(std::string_view fileName) {
    std::string_view name = fileName;
    // An extension: letters after the last dot ("glances.py", "monitor.AppImage").
    if (const auto dot = name.find_last_of('.');
        dot != std::string_view::npos && dot > 0 && dot + 1 < name.size() && !isDigit(name[dot + 1])) {
        name = name.substr(0, dot);
    }
    // A version: digits and dots after "-", "_" or "." at the end ("htop-3.2.2", "python3.11").
    std::size_t run = name.size();
    while (run > 0 && (isDigit(name[run - 1]) || name[run - 1] == '.')) {
        --run;
    }
    if (run < name.size()) {
        std::size_t cut = std::string_view::npos;
        if (run > 0 && (name[run - 1] == '-' || name[run - 1] == '_') && isDigit(name[run])) {
            cut = run - 1;
        } else {
            for (std::size_t i = run; i + 1 < name.size(); ++i) {
                if (name[i] == '.' && isDigit(name[i + 1])) {
                    cut = i;
                    break;
                }
            }
        }
        if (cut != std::string_view::npos && cut > 0) {
            name = name.substr(0, cut);
        }
    }
    return std::string(name.empty() ? fileName : name);
}

std::vector<std::string> commandNames(std::string_view executable,
                                      const std::vector<std::string>& arguments) {
    Target target;
    switch (runnerOf(executable)) {
    case Runner::None:
        return {};
    case Runner::Python:
        target = pythonTarget(arguments);
        break;
    case Runner::Perl:
        target = perlOrRubyTarget(arguments, "eE", "CdDFiIxmMV", "I");
        break;
    case Runner::Ruby:
        target = perlOrRubyTarget(arguments, "e", "CEFIiKrTWx", "CEIr");
        break;
    case Runner::Node:
        target = nodeTarget(arguments);
        break;
    case Runner::Java:
        target = javaTarget(arguments);
        break;
    case Runner::Shell:
        target = shellTarget(arguments);
        break;
    case Runner::Loader:
        target = loaderTarget(arguments);
        break;
    }
    std::vector<std::string> names;
    switch (target.kind) {
    case Target::Nothing:
        break;
    case Target::File: {
        const std::string_view name = programFileName(target.name);
        addOnce(names, std::string(name));
        addOnce(names, bareProgramName(name));
        // The loader may run an interpreter in turn: ld-linux-x86-64.so.2 /usr/bin/python3 script.
        if (runnerOf(name) != Runner::None && runnerOf(executable) == Runner::Loader) {
            const std::vector<std::string> rest(arguments.begin() + static_cast<std::ptrdiff_t>(target.at),
                                                arguments.end());
            for (std::string& inner : commandNames(name, rest)) {
                addOnce(names, std::move(inner));
            }
        }
        break;
    }
    case Target::Module: { // "glances", "package.tool": the whole name and its first part
        addOnce(names, target.name);
        addOnce(names, target.name.substr(0, target.name.find('.')));
        break;
    }
    case Target::Class: { // "org.example.Monitor": the whole name and the class's own
        addOnce(names, target.name);
        const auto dot = target.name.find_last_of('.');
        addOnce(names, dot == std::string::npos ? target.name : target.name.substr(dot + 1));
        break;
    }
    }
    return names;
}

} // namespace tallowby::platform
