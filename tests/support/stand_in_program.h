#pragma once
// A stand-in for a program that a test must never run for real (pkexec): a shell script under the
// real program's name in a folder of its own, to be put first on PATH. Each call records its
// arguments and its standard input, then answers with the exit status and error text the test
// chose, after a chosen delay (cut short when its caller ends).
#include <filesystem>
#include <string>
#include <vector>

namespace tallowby::testsupport {

class StandInProgram {
  public:
    struct Answer {
        int exitCode = 0;
        std::string errors; // written to standard error
        int delaySeconds = 0;
    };

    struct Call {
        std::vector<std::string> args; // after the program's name
        std::string input;
    };

    // Lays out <folder>/bin/<name> and <folder>/calls. Both can be used by any user, so that a
    // program run under another user's rights can call the stand-in too.
    StandInProgram(const std::filesystem::path& folder, const std::string& name);

    // The folder to put first on PATH.
    std::filesystem::path binFolder() const { return folder_ / "bin"; }
    std::filesystem::path program() const { return binFolder() / name_; }

    // How the calls from now on answer.
    void answer(const Answer& answer) const;
    // How the calls from now on that are given this argument answer (a plain word, no "/"), whatever
    // answer() says.
    void answerWhen(const std::string& argument, const Answer& answer) const;

    // The finished calls, oldest first.
    std::vector<Call> calls() const;

  private:
    std::filesystem::path callsFolder() const { return folder_ / "calls"; }

    std::filesystem::path folder_;
    std::string name_;
};

} // namespace tallowby::testsupport
