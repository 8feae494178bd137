#pragma once
// Runs a program to its end with chosen bytes on its standard input, for tests of programs that
// read a request there.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::testsupport {

struct PipedRun {
    int exitCode = -1; // -1 when it did not exit by itself
    std::string errors;
};

// Throws std::runtime_error when the program cannot be run.
PipedRun runWithInput(const std::filesystem::path& program, const std::vector<std::string>& args,
                      std::string_view input);

} // namespace tallowby::testsupport
