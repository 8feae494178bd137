// What an interpreter, a runtime or the dynamic loader runs, read from its command line.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/program_command.h"

namespace tallowby::platform {
namespace {

struct CommandCase {
    const char* executable;
    std::vector<std::string> arguments;
    std::vector<std::string> names;
};

class CommandNamesTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandNamesTest, NamesTheFileTheInterpreterRuns) {
    const auto& c = GetParam();
    std::ostringstream line;
    for (const auto& a : c.arguments) {
        line << a << ' ';
    }
    EXPECT_EQ(commandNames(c.executable, c.arguments), c.names) << c.executable << ": " << line.str();
}

using V = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    CommandLines, CommandNamesTest,
    ::testing::Values(
        CommandCase{"/usr/bin/python3.11", {"/usr/bin/python3", "/usr/bin/glances"}, V{"glances"}},
        CommandCase{
            "python3.11", {"python3", "-u", "-X", "dev", "-Wignore", "/usr/bin/glances"}, V{"glances"}},
        CommandCase{"python3", {"python3", "-uBX", "dev", "tool.py", "-m", "x"}, V{"tool.py", "tool"}},
        CommandCase{"python3", {"python3", "-m", "glances", "-w"}, V{"glances"}},
        CommandCase{"python3", {"python3", "-Esmglances.main"}, V{"glances.main", "glances"}},
        CommandCase{"python3", {"python3", "-c", "import glances"}, V{}},
        CommandCase{"python3", {"python3"}, V{}}, CommandCase{"python3", {"python3", "-", "glances"}, V{}},
        CommandCase{"python3", {"python3", "--", "-odd.py"}, V{"-odd.py", "-odd"}},
        CommandCase{"PyThon2.7", {"python2.7", "/opt/bpytop.py"}, V{"bpytop.py", "bpytop"}},
        CommandCase{
            "/usr/bin/perl", {"perl", "-w", "-Ilib", "-I", "inc", "/usr/bin/nmon.pl"}, V{"nmon.pl", "nmon"}},
        CommandCase{"perl5.36.0", {"perl", "-le", "print 1", "x.pl"}, V{}},
        CommandCase{"ruby3.1", {"ruby", "-r", "json", "-W0", "watch.rb"}, V{"watch.rb", "watch"}},
        CommandCase{"ruby", {"ruby", "-e", "1"}, V{}},
        CommandCase{"node", {"node", "--max-old-space-size=99", "-r", "ts-node", "/usr/bin/gtop"}, V{"gtop"}},
        CommandCase{"nodejs", {"nodejs", "-e", "gtop()"}, V{}},
        CommandCase{"java",
                    {"java", "-Xmx1g", "-cp", "a.jar", "-jar", "/opt/monitor-2.1.jar"},
                    V{"monitor-2.1.jar", "monitor"}},
        CommandCase{"java",
                    {"java", "-cp", "lib/*", "org.example.Monitor", "-x"},
                    V{"org.example.Monitor", "Monitor"}},
        CommandCase{"java", {"java", "-m", "mon/org.example.Top"}, V{"org.example.Top", "Top"}},
        CommandCase{"/bin/bash", {"bash", "-e", "-o", "pipefail", "/usr/bin/bashtop"}, V{"bashtop"}},
        CommandCase{"dash", {"sh", "-c", "exec htop", "htop"}, V{}},
        CommandCase{"zsh", {"zsh", "-ec", "htop"}, V{}}, CommandCase{"bash", {"-bash"}, V{}},
        CommandCase{
            "/lib64/ld-linux-x86-64.so.2", {"/lib64/ld-linux-x86-64.so.2", "/usr/bin/lxtask"}, V{"lxtask"}},
        CommandCase{"ld-linux-x86-64.so.2",
                    {"ld.so", "--library-path", "/opt", "--argv0", "top", "--inhibit-cache", "./lxtask"},
                    V{"lxtask"}},
        CommandCase{"ld-linux-x86-64.so.2", {"ld.so", "--list", "/usr/bin/lxtask"}, V{}},
        CommandCase{"ld-linux-x86-64.so.2",
                    {"ld.so", "/usr/bin/python3", "-u", "/usr/bin/glances"},
                    V{"python3", "glances"}},
        CommandCase{"/usr/bin/htop", {"htop", "/usr/bin/lxtask"}, V{}},
        CommandCase{"env", {"env", "python3", "glances"}, V{}}, CommandCase{"python3", {}, V{}},
        // Windows: the command line split as CommandLineToArgvW splits it.
        CommandCase{"pythonw.exe",
                    {"C:\\Python311\\pythonw.exe", "-u", "C:\\Users\\me\\monitor.py"},
                    V{"monitor.py", "monitor"}},
        CommandCase{"PY.EXE", {"py", "-3.11", "top.pyw"}, V{"top.pyw", "top"}},
        CommandCase{"javaw.exe", {"javaw", "-jar", "D:\\tools\\monitor.jar"}, V{"monitor.jar", "monitor"}}));

TEST(InterpreterTest, KnowsInterpretersRuntimesAndLoaders) {
    for (const char* name : {"python", "python3", "/usr/bin/python3.11", "pypy3", "perl", "perl5.36.0",
                             "ruby3.1", "node", "nodejs", "java", "sh", "BASH", "dash", "zsh",
                             "ld-linux-x86-64.so.2", "ld-linux.so.2", "ld.so", "ld-musl-x86_64.so.1"}) {
        EXPECT_TRUE(isInterpreter(name)) << name;
    }
    for (const char* windows :
         {"python3.11.exe", "C:\\Python311\\pythonw.exe", "py.exe", "rubyw.exe", "wperl.exe", "JAVAW.EXE"}) {
        EXPECT_TRUE(isInterpreter(windows)) << windows;
    }
    for (const char* name : {"", "htop", "pythonista", "python-config", "perldoc", "nodemon", "javac", "shc",
                             "bashtop", "ld", "ldconfig", "lxtask", "pyinstaller.exe", "java.exe.bak"}) {
        EXPECT_FALSE(isInterpreter(name)) << name;
    }
}

TEST(BareProgramNameTest, DropsExtensionsAndVersionsOnly) {
    const std::pair<const char*, const char*> cases[] = {{"glances.py", "glances"},
                                                         {"htop-3.2.2", "htop"},
                                                         {"monitor-2.1.jar", "monitor"},
                                                         {"python3.11", "python3"},
                                                         {"btop_1.2", "btop"},
                                                         {"top", "top"},
                                                         {"x86-64", "x86"},
                                                         {".hidden", ".hidden"},
                                                         {"ksysguard5", "ksysguard5"},
                                                         {"taskmgr.exe", "taskmgr"},
                                                         {"gnome-system-monitor", "gnome-system-monitor"},
                                                         {"", ""}};
    for (const auto& [name, bare] : cases) {
        EXPECT_EQ(bareProgramName(name), bare) << name;
    }
}

// What python3 -m runs, and what a launcher script runs the same way as its main.
TEST(PythonModuleTest, TheModuleRunAndThePackageALauncherCallsMainOf) {
    using Line = std::vector<std::string>;
    EXPECT_EQ(commandModule("python3.11", Line{"python3", "-m", "idlelib"}), "idlelib");
    EXPECT_EQ(commandModule("python3.11", Line{"python3", "-Bmidlelib.pyshell"}), "idlelib.pyshell");
    EXPECT_EQ(commandModule("python3.11", Line{"python3", "/usr/bin/idle"}), "");
    EXPECT_EQ(commandModule("java", Line{"java", "-m", "app/org.example.Main"}), "");
    const std::pair<const char*, const char*> scripts[] = {
        {"#! /usr/bin/python3\n\nfrom idlelib.pyshell import main\nif __name__ == '__main__':\n    main()\n",
         "idlelib"},
        {"#!/usr/bin/python3\r\nimport sys\r\nfrom glances import main\r\nsys.exit(main())\r\n", "glances"},
        {"#!/usr/bin/python3\nfrom tkinter import mainloop\n", ""},
        {"#!/usr/bin/python3\n    from tool import main\n", ""}, // not at the top level
        {"#!/usr/bin/python3\nfrom . import main\n", ""},
        {"#!/usr/bin/python3\nprint('from x import main')\n", ""},
    };
    for (const auto& [text, package] : scripts) {
        EXPECT_EQ(launcherPackage(text), package) << text;
    }
}

} // namespace
} // namespace tallowby::platform
