#include "platform/logged_shutdown.h"

#include <chrono>
#include <ctime>
#include <system_error>

#include "os/files.h"

namespace tallowby::platform {
namespace {

std::string localTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    // std::localtime's result is shared: the shutdown is only ever asked for on the window's thread.
    const std::tm* local = std::localtime(&now);
    char text[32];
    const std::size_t length = local ? std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local) : 0;
    return std::string(text, length);
}

} // namespace

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
    try {
        os::appendToFile(logFile_, text);
    } catch (const os::FileError&) {
        return false;
    }
    return true;
}

} // namespace tallowby::platform
