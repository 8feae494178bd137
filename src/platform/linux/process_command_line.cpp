#include "platform/linux/process_command_line.h"

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

#include "os/descriptor.h"

namespace tallowby::platform {

std::vector<std::string> readCommandLineAt(int procDir, std::string_view pidText) {
    std::string path(pidText);
    path += "/cmdline";
    const os::UniqueFd fd(::openat(procDir, path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return {};
    }
    // The kernel hands a long line out a page at a time.
    std::string text(4096, '\0');
    std::size_t length = 0;
    while (length < kMostCommandLineBytes) {
        if (length == text.size()) {
            text.resize(std::min(text.size() * 2, kMostCommandLineBytes));
        }
        const ssize_t got = ::read(fd.get(), text.data() + length, text.size() - length);
        if (got <= 0) {
            break;
        }
        length += static_cast<std::size_t>(got);
    }
    text.resize(length);

    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\0', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        arguments.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return arguments;
}

std::vector<std::string> readCommandLine(ProcessId pid, const std::filesystem::path& procRoot) {
    if (pid == kNoProcess) {
        return {};
    }
    const os::UniqueFd procDir(::open(procRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!procDir.valid()) {
        return {};
    }
    return readCommandLineAt(procDir.get(), std::to_string(pid));
}

} // namespace tallowby::platform
