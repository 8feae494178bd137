#include "platform/linux/procfs_processes.h"

#include <algorithm>
#include <array>
#include <cerrno>
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
    if (length < 0) {
        return {};
    }
    if (length == 0 || static_cast<std::size_t>(length) >= target.size()) {
        errno = ENAMETOOLONG;
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

// At most the first `most` bytes of a small file of /proc, in one read; empty when it cannot be read.
// `path` is relative to `dir`.
std::string readStart(int dir, const char* path, std::size_t most) {
    FdCloser file{::openat(dir, path, O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        return {};
    }
    std::string text(most, '\0');
    const ssize_t length = ::read(file.fd, text.data(), text.size());
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

std::string commName(int dir, const char* comm) {
    std::string name = readStart(dir, comm, 64);
    if (name.ends_with('\n')) {
        name.pop_back();
    }
    return name;
}

// The parent's pid from /proc/PID/stat: "PID (COMM) STATE PPID ...", where COMM may hold spaces and
// parentheses of its own, so the fields are counted from the last ')'.
ProcessId parentFromStat(std::string_view stat) {
    const auto close = stat.rfind(')');
    if (close == std::string_view::npos) {
        return kNoProcess;
    }
    std::string_view rest = stat.substr(close + 1);
    const auto ppidAt = rest.find_first_not_of(' ', rest.find_first_not_of(' ') + 1);
    if (ppidAt == std::string_view::npos) {
        return kNoProcess;
    }
    rest.remove_prefix(ppidAt);
    ProcessId ppid = kNoProcess;
    std::from_chars(rest.data(), rest.data() + rest.size(), ppid);
    return ppid;
}

struct ReadName {
    std::string name;
    // The process will never run another program, so its name stays: a kernel thread, or a process
    // that has ended or is ending. Such a process has no executable (the link is not found), while
    // a living process whose link cannot be read is another user's.
    bool lasting = false;
};

ReadName readName(int procDir, std::string_view pidText) {
    std::string path(pidText);
    path += "/exe";
    std::string name = exeFileName(procDir, path.c_str());
    if (!name.empty()) {
        return {std::move(name)};
    }
    const bool lasting = errno == ENOENT;
    path.replace(path.size() - 3, 3, "comm");
    return {commName(procDir, path.c_str()), lasting};
}

// The last field of /proc/loadavg: the id of the process made last. Empty when it cannot be read.
std::string lastProcessMade(const std::filesystem::path& root) {
    const std::string read = readStart(AT_FDCWD, (root / "loadavg").c_str(), 128);
    std::string_view text(read);
    while (text.ends_with('\n') || text.ends_with(' ')) {
        text.remove_suffix(1);
    }
    const auto space = text.find_last_of(' ');
    return space == std::string_view::npos ? std::string() : std::string(text.substr(space + 1));
}

} // namespace

ProcfsProcessLister::ProcfsProcessLister(std::filesystem::path procRoot) : root_(std::move(procRoot)) {
    // The kernel's events name the processes of the machine's own /proc only.
    if (root_ == "/proc") {
        events_.emplace();
        if (!events_->listening()) {
            events_.reset();
        }
    }
}

void ProcfsProcessLister::readFolder() {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(root_.c_str()));
    KnownProcesses found;
    if (!dir) {
        known_ = std::move(found);
        return;
    }
    const int procDir = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        const auto pid = parsePid(entry->d_name);
        if (!pid) {
            continue;
        }
        // The kernel gives a process's folder a fresh inode number when a new process takes the id,
        // so a lasting name known under the same inode is still this process's name.
        if (const auto known = known_.find(*pid);
            known != known_.end() && known->second.lasting && known->second.inode == entry->d_ino) {
            found.insert(known_.extract(known));
            continue;
        }
        // A process that ended while the folder was read has no name left and is not listed.
        ReadName read = readName(procDir, entry->d_name);
        if (!read.name.empty()) {
            found.try_emplace(*pid, Known{entry->d_ino, std::move(read.name), read.lasting});
        }
    }
    known_ = std::move(found);
}

void ProcfsProcessLister::renameKnown() {
    const FdCloser procDir{::open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    for (auto it = known_.begin(); it != known_.end();) {
        if (it->second.lasting) {
            ++it;
            continue;
        }
        ReadName read = readName(procDir.fd, std::to_string(it->first));
        if (read.name.empty()) {
            it = known_.erase(it); // it has ended
            continue;
        }
        it->second.name = std::move(read.name);
        it->second.lasting = read.lasting;
        ++it;
    }
}

void ProcfsProcessLister::apply(const std::vector<ProcessEvents::Change>& changes) {
    const FdCloser procDir{::open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    for (const auto& change : changes) {
        ReadName read = change.ended ? ReadName{} : readName(procDir.fd, std::to_string(change.pid));
        if (read.name.empty()) {
            known_.erase(change.pid);
        } else {
            // No inode: a lasting name is checked again at the next reading of the folder.
            known_.insert_or_assign(change.pid, Known{0, std::move(read.name), read.lasting});
        }
    }
}

template <class Visit> void ProcfsProcessLister::scan(Visit visit) {
    if (events_) {
        const ProcessEvents::Changes changes = events_->take();
        if (!folderRead_ || changes.lost) {
            readFolder();
            folderRead_ = true;
        } else {
            apply(changes.changes);
        }
    } else if (const std::string made = lastProcessMade(root_);
               made.empty() || made != lastMade_ || ++scansWithoutFolder_ >= kMostScansWithoutFolder) {
        readFolder();
        lastMade_ = made;
        scansWithoutFolder_ = 0;
    } else {
        renameKnown();
    }
    for (const auto& [pid, known] : known_) {
        visit(pid, known.name);
    }
}

ProcessSnapshot ProcfsProcessLister::snapshot() {
    ProcessSnapshot processes;
    scan([&](ProcessId pid, const std::string& name) { processes.push_back({pid, name}); });
    return processes;
}

std::vector<ProcessId> ProcfsProcessLister::processesNamed(std::span<const std::string> names) {
    std::vector<ProcessId> found;
    scan([&](ProcessId pid, const std::string& name) {
        if (std::ranges::any_of(
                names, [&](const std::string& wanted) { return processNameMatches(name, wanted); })) {
            found.push_back(pid);
        }
    });
    return found;
}

std::string ProcfsProcessLister::nameOf(ProcessId pid) {
    if (pid == kNoProcess) {
        return {};
    }
    return readName(AT_FDCWD, (root_ / std::to_string(pid)).string()).name;
}

ProcessId ProcfsProcessLister::parentOf(ProcessId pid) {
    if (pid == kNoProcess) {
        return kNoProcess;
    }
    return parentFromStat(readStart(AT_FDCWD, (root_ / std::to_string(pid) / "stat").c_str(), 1024));
}

std::vector<ProcessId> SignalProcessKiller::killProcessesByName(std::span<const std::string> names) {
    const auto targets = processes_.processesNamed(names);
    for (const ProcessId pid : targets) {
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    return targets;
}

ProcessId ownProcessId() {
    return static_cast<ProcessId>(::getpid());
}

} // namespace tallowby::platform
