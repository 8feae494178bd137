#include "platform/system/shutdown.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

#include "platform/system/detached_spawn.h"
#include "platform/system/fd_write.h"

extern char** environ;

namespace tallowby::platform {
namespace {

// By full path: the program runs as root, and a PATH entry must not choose what it starts.
std::filesystem::path shutdownProgram() {
    for (const char* candidate : {"/usr/sbin/shutdown", "/sbin/shutdown"}) {
        if (::access(candidate, X_OK) == 0) {
            return candidate;
        }
    }
    return "/sbin/shutdown";
}

std::string localTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, length);
}

} // namespace

const std::vector<std::string>& shutdownCommandLine() {
    static const std::vector<std::string> line{"shutdown", "-P", "+1"};
    return line;
}

const std::vector<std::string>& cancelShutdownCommandLine() {
    static const std::vector<std::string> line{"shutdown", "-c"};
    return line;
}

bool SystemShutdown::start() {
    const std::vector<std::string>& line = shutdownCommandLine();
    return spawnDetached(shutdownProgram(), {line.begin() + 1, line.end()}).started();
}

bool SystemShutdown::cancel() {
    const std::vector<std::string>& line = cancelShutdownCommandLine();
    std::vector<std::string> argv{shutdownProgram().string()};
    argv.insert(argv.end(), line.begin() + 1, line.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0].c_str(), nullptr, nullptr, pointers.data(), environ) != 0)
        return false;
    // The cancel answers at once; the user is waiting to hear whether the machine stays on.
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool LoggedShutdown::start() {
    return log(shutdownCommandLine());
}

bool LoggedShutdown::cancel() {
    return log(cancelShutdownCommandLine());
}

bool LoggedShutdown::log(const std::vector<std::string>& commandLine) {
    std::string text = localTimestamp();
    for (const std::string& part : commandLine) {
        text += ' ' + part;
    }
    text += '\n';

    std::error_code error;
    std::filesystem::create_directories(logFile_.parent_path(), error);
    const int fd = ::open(logFile_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    // O_APPEND: the line lands at the end even if another writer has the file open.
    const bool written = writeAll(fd, text);
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

} // namespace tallowby::platform
