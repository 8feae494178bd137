#include "platform/linux/procfs_processes.h"

#include <array>
#include <charconv>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <unistd.h>

#include <dirent.h>

namespace tallowby::platform {

namespace {

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::optional<ProcessId> parsePid(std::string_view text) {
    ProcessId pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (error != std::errc() || end != text.data() + text.size() || pid == kNoProcess) {
        return std::nullopt;
    }
    return pid;
}

// `exe` names the link relative to `dir`.
std::string exeFileName(int dir, const char* exe) {
    std::array<char, 4096> target{};
    const ssize_t length = ::readlinkat(dir, exe, target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
        return {};
    }
    std::string_view path(target.data(), static_cast<std::size_t>(length));
    constexpr std::string_view deleted = " (deleted)";
    if (path.ends_with(deleted)) {
        path.remove_suffix(deleted.size());
    }
    const auto slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string commName(int dir, const char* comm) {
    FdCloser file{::openat(dir, comm, O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        return {};
    }
    std::array<char, 64> buffer{};
    const ssize_t length = ::read(file.fd, buffer.data(), buffer.size());
    if (length <= 0) {
        return {};
    }
    std::string_view name(buffer.data(), static_cast<std::size_t>(length));
    if (name.ends_with('\n')) {
        name.remove_suffix(1);
    }
    return std::string(name);
}

std::string processName(int procDir, std::string_view pidText) {
    std::string path(pidText);
    path += "/exe";
    std::string name = exeFileName(procDir, path.c_str());
    if (!name.empty()) {
        return name;
    }
    path.replace(path.size() - 3, 3, "comm");
    return commName(procDir, path.c_str());
}

} // namespace

ProcessSnapshot ProcfsProcessLister::snapshot() {
    ProcessSnapshot processes;
    std::unique_ptr<DIR, DirCloser> dir(::opendir(root_.c_str()));
    if (!dir) {
        return processes;
    }
    const int procDir = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        const auto pid = parsePid(entry->d_name);
        if (!pid) {
            continue;
        }
        // A process that ended while the folder was read has no name left and is not listed.
        std::string name = processName(procDir, entry->d_name);
        if (!name.empty()) {
            processes.push_back({*pid, std::move(name)});
        }
    }
    return processes;
}

std::vector<ProcessId> SignalProcessKiller::killProcessesByName(std::span<const std::string> names) {
    const auto targets = matchingProcesses(processes_.snapshot(), names);
    for (const ProcessId pid : targets) {
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    return targets;
}

std::string ownExecutableName() {
    return exeFileName(AT_FDCWD, "/proc/self/exe");
}

} // namespace tallowby::platform
