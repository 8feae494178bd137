#include "platform/system/shutdown.h"

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

#include "platform/system/detached_spawn.h"
#include "platform/system/fd_write.h"

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

bool SystemShutdown::start() {
    const std::vector<std::string>& line = shutdownCommandLine();
    return spawnDetached(shutdownProgram(), {line.begin() + 1, line.end()}).started();
}

bool LoggedShutdown::start() {
    std::string text = localTimestamp();
    for (const std::string& part : shutdownCommandLine()) {
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
