#pragma once
// The program a process really runs when its executable is only what runs it: an interpreter
// (python3 running /usr/bin/glances), a runtime (java -jar monitor.jar) or the dynamic loader
// (ld-linux-x86-64.so.2 /usr/bin/lxtask). Pure rules on names and argument lists, the same on
// every platform.
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::platform {

// The executable (a path or a file name) runs programs given on its command line: python*, perl*,
// ruby*, node, nodejs, java, sh, bash, dash, zsh, the dynamic loader (ld-linux*.so*, ld.so,
// ld-musl-*.so*), and on Windows the same with ".exe" and the console-less pythonw, pyw, javaw,
// rubyw and wperl, and Python's launcher py. Letter case is ignored.
bool isInterpreter(std::string_view executable);

// The names the process is known by beside its executable's: the file name of the script, jar or
// module the interpreter runs (its options skipped), with and without its extension, and, when the
// loader runs an interpreter, that one's script too. `arguments` is the whole command line,
// argv[0] included. Empty when the executable is no interpreter or runs no file (python3 -c ...,
// sh reading its commands from its input).
std::vector<std::string> commandNames(std::string_view executable, const std::vector<std::string>& arguments);

// The module a Python interpreter is made to run as its program ("idlelib" for python3 -m idlelib);
// empty for any other command line.
std::string commandModule(std::string_view executable, const std::vector<std::string>& arguments);

// The package whose main function a Python launcher script calls, as pip's and Debian's launchers
// do ("from idlelib.pyshell import main" -> "idlelib"): the script runs what python3 -m runs.
// Empty when the text imports no main.
std::string launcherPackage(std::string_view scriptText);

// The file name part of a path, after the last "/" or "\\".
std::string_view programFileName(std::string_view path);

// A program's file name without its extension or version suffix: "glances.py" -> "glances",
// "htop-3.2.2" -> "htop", "monitor.jar" -> "monitor", "python3.11" -> "python3"; the name itself
// when it has neither. A leading dot does not start an extension.
std::string bareProgramName(std::string_view fileName);

} // namespace tallowby::platform
