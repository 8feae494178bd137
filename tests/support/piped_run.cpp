#include "support/piped_run.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::testsupport {

PipedRun runWithInput(const std::filesystem::path& program, const std::vector<std::string>& args,
                      std::string_view input) {
    // Files rather than pipes: the program can stop reading early, and its errors can be of any
    // length, without either side waiting for the other.
    const TempFolder files;
    writeFile(files / "input", input);
    const std::string inputFile = (files / "input").string();
    const std::string errorsFile = (files / "errors").string();
    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int in = ::open(inputFile.c_str(), O_RDONLY);
        const int errors = ::open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || errors < 0 || ::dup2(in, STDIN_FILENO) < 0 || ::dup2(errors, STDERR_FILENO) < 0)
            ::_exit(125);
        ::execv(pointers[0], pointers.data());
        ::_exit(126);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        throw std::runtime_error("waitpid failed");
    PipedRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = readFile(errorsFile);
    return run;
}

} // namespace tallowby::testsupport
