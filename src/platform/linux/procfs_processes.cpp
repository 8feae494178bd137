#include "platform/linux/procfs_processes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <unistd.h>
#include <unordered_set>

#include <dirent.h>
#include <sys/stat.h>

#include "engine/program_choice.h"
#include "os/descriptor.h"
#include "platform/linux/elf_build_id.h"
#include "platform/linux/process_command_line.h"
#include "platform/program_command.h"
#include "platform/program_files.h"

namespace tallowby::platform {

namespace {

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
    const os::UniqueFd file(::openat(dir, path, O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return {};
    }
    std::string text(most, '\0');
    const ssize_t length = ::read(file.get(), text.data(), text.size());
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

// The last two fields of /proc/loadavg, "RUNNING/TOTAL LAST": the number of threads there are and
// the id of the process made last, without the running ones. Unchanged, no process was made and
// none ended. Empty when the file cannot be read.
std::string processesMadeAndEnded(const std::filesystem::path& root) {
    const std::string read = readStart(AT_FDCWD, (root / "loadavg").c_str(), 128);
    std::string_view text(read);
    while (text.ends_with('\n') || text.ends_with(' ')) {
        text.remove_suffix(1);
    }
    const auto slash = text.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(text.substr(slash + 1));
}

// The id made last, from processesMadeAndEnded's "THREADS LAST".
std::optional<ProcessId> lastIdOf(std::string_view made) {
    const auto space = made.find(' ');
    return space == std::string_view::npos ? std::nullopt : parsePid(made.substr(space + 1));
}

std::string_view fileNameOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

void addAnswer(std::vector<std::string>& answers, std::string_view name) {
    if (name.empty()) {
        return;
    }
    for (std::string lower : {engine::lowerName(name), engine::lowerName(bareProgramName(name))}) {
        if (std::ranges::find(answers, lower) == answers.end()) {
            answers.push_back(std::move(lower));
        }
    }
}

// The folders a program is looked for in: PATH, then the usual ones in case PATH lacks them.
std::vector<std::filesystem::path> programFolders() {
    std::vector<std::filesystem::path> folders = programSearchFolders();
    for (const char* usual :
         {"/usr/local/sbin", "/usr/local/bin", "/usr/sbin", "/usr/bin", "/sbin", "/bin"}) {
        if (std::ranges::find(folders, std::filesystem::path(usual)) == folders.end()) {
            folders.emplace_back(usual);
        }
    }
    return folders;
}

// The build IDs of the programs installed under that name. A name that leads to a program of
// another name is a multi-call program (busybox answering as top) or an interpreter, whose
// fingerprint would be every other program's too: it gives none.
std::vector<std::string> installedBuildIds(std::string_view name) {
    std::vector<std::string> ids;
    for (const auto& folder : programFolders()) {
        std::error_code error;
        const auto real = std::filesystem::canonical(folder / name, error);
        if (error || !std::filesystem::is_regular_file(real, error)) {
            continue;
        }
        const std::string file = real.filename().string();
        if (isInterpreter(file) || (engine::lowerName(file) != engine::lowerName(name) &&
                                    engine::lowerName(bareProgramName(file)) != engine::lowerName(name))) {
            continue;
        }
        if (std::string id = readBuildId(real); !id.empty() && std::ranges::find(ids, id) == ids.end()) {
            ids.push_back(std::move(id));
        }
    }
    return ids;
}

} // namespace

constexpr std::size_t kMostExecutablesKnown = 4096;

struct ProcfsProcessLister::Wanted {
    std::vector<std::string> names; // as asked for, to tell another list
    std::unordered_set<std::string> lower;
    std::vector<std::string> buildIds; // of the programs installed under those names
    unsigned generation = 0;
    // Each name's installed build IDs, looked for once.
    std::map<std::string, std::vector<std::string>> installed;
    // Each executable's build ID (empty for none), read once.
    std::map<std::pair<dev_t, ino_t>, std::string> buildIdOf;
};

// Processes were made since `before` and the ids did not wrap around meanwhile.
static bool grewOnly(const std::string& before, const std::string& now) {
    const auto was = lastIdOf(before);
    const auto is = lastIdOf(now);
    return was && is && *is >= *was;
}

ProcfsProcessLister::~ProcfsProcessLister() {
    if (folder_) {
        ::closedir(folder_);
    }
}

ProcfsProcessLister::ProcfsProcessLister(std::filesystem::path procRoot)
    : root_(std::move(procRoot)), wanted_(std::make_unique<Wanted>()) {
    // The kernel's events name the processes of the machine's own /proc only.
    if (root_ == "/proc") {
        events_.emplace();
        if (!events_->listening()) {
            events_.reset();
        }
    }
}

ProcfsProcessLister::Known ProcfsProcessLister::named(int procDir, const std::string& pidText,
                                                      bool firstSight) const {
    Known known;
    std::string exe = pidText + "/exe";
    known.name = exeFileName(procDir, exe.c_str());
    if (!known.name.empty()) {
        struct stat file {};
        if (::fstatat(procDir, exe.c_str(), &file, 0) == 0) {
            known.device = file.st_dev;
            known.executable = file.st_ino;
        }
        addAnswer(known.answers, known.name);
        known.interpreted = isInterpreter(known.name);
        if (known.interpreted) {
            for (const std::string& name : commandNames(known.name, readCommandLineAt(procDir, pidText))) {
                addAnswer(known.answers, name);
            }
        }
        return known;
    }
    known.lasting = errno == ENOENT;
    if (!known.lasting && firstSight && deferForeign_) {
        // Another user's, seen for the first time. Most such new processes on a busy machine
        // (a build's compilers, root's short jobs) are gone within a second; one that stays is
        // named at the next look.
        known.foreign = true;
        known.pending = true;
        return known;
    }
    exe.replace(exe.size() - 3, 3, "comm");
    known.name = commName(procDir, exe.c_str());
    addAnswer(known.answers, known.name);
    if (!known.lasting && !known.name.empty()) {
        // Another user's. Comm, the file name the process was started from, may be cut short; where
        // it names an interpreter or the loader, the command line tells what it runs.
        known.foreign = true;
        known.cut = known.name.size() == 15;
        if (!isInterpreter(known.name) && !known.name.starts_with("ld-")) {
            return known;
        }
        const auto arguments = readCommandLineAt(procDir, pidText);
        if (!arguments.empty()) {
            addAnswer(known.answers, fileNameOf(arguments.front()));
            for (const std::string& name : commandNames(arguments.front(), arguments)) {
                addAnswer(known.answers, name);
            }
        }
    }
    return known;
}

bool ProcfsProcessLister::runsTheSameProgram(int procDir, const std::string& pidText,
                                             const Known& known) const {
    // Another script of the same interpreter leaves the executable as it was.
    if (known.pending || known.interpreted || known.executable == 0) {
        return false;
    }
    struct stat file {};
    return ::fstatat(procDir, (pidText + "/exe").c_str(), &file, 0) == 0 && file.st_dev == known.device &&
           file.st_ino == known.executable;
}

bool ProcfsProcessLister::renameDue(const Known& known, bool renameAll) const {
    // Another user's process is named once, at its second sighting: it cannot be ended anyway, and
    // there are many such (root's services) on a desktop.
    return known.pending ||
           (!known.lasting && !known.foreign && (renameAll || scans_ - known.namedAt < kRecentScans));
}

bool ProcfsProcessLister::openFolder() {
    if (folder_) {
        ::rewinddir(folder_);
        return true;
    }
    folder_ = ::opendir(root_.c_str());
    return folder_ != nullptr;
}

void ProcfsProcessLister::readFolder(bool renameAll) {
    KnownProcesses found;
    if (!openFolder()) {
        known_ = std::move(found);
        return;
    }
    const int procDir = ::dirfd(folder_);
    std::optional<long> previousEnd; // where the listing goes on after the previous process
    highest_ = kNoProcess;
    while (const dirent* entry = ::readdir(folder_)) {
        const auto pid = parsePid(entry->d_name);
        if (!pid) {
            previousEnd.reset();
            continue;
        }
        learnPosition(previousEnd, *pid);
        previousEnd = entry->d_off;
        highest_ = std::max(highest_, *pid);
        // The kernel gives a process's folder a fresh inode number when a new process takes the id,
        // so a name known under the same inode is still this process's, unless it is due to be
        // read again.
        const auto old = known_.find(*pid);
        const bool same = old != known_.end() && old->second.inode == entry->d_ino;
        if (same &&
            (!renameDue(old->second, renameAll) || runsTheSameProgram(procDir, entry->d_name, old->second))) {
            found.insert(known_.extract(old));
            continue;
        }
        // A process that ended while the folder was read has no name left and is not listed.
        Known known = named(procDir, entry->d_name, !same);
        if (!known.name.empty() || known.pending) {
            known.inode = entry->d_ino;
            known.namedAt = same ? old->second.namedAt : scans_;
            found.try_emplace(*pid, std::move(known));
        }
    }
    known_ = std::move(found);
}

// The machine's /proc lists processes in the order of their ids, and the place where the listing
// goes on at a process is its id plus a fixed number (the entries before the processes). Learned from
// each reading as the place the previous entry says comes next, and trusted only while every pair
// agrees.
void ProcfsProcessLister::learnPosition(std::optional<long> previousEnd, ProcessId pid) {
    if (root_ != "/proc" || !previousEnd || positionOffset_ == kUntrusted) {
        return;
    }
    const long offset = *previousEnd - static_cast<long>(pid);
    if (positionOffset_ == kUnknown) {
        positionOffset_ = offset;
    } else if (positionOffset_ != offset || offset < 0) {
        positionOffset_ = kUntrusted;
    }
}

bool ProcfsProcessLister::readNewProcesses() {
    if (positionOffset_ < 0 || !folder_ || highest_ == kNoProcess) {
        return false;
    }
    ::seekdir(folder_, static_cast<long>(highest_) + 1 + positionOffset_);
    const int procDir = ::dirfd(folder_);
    while (const dirent* entry = ::readdir(folder_)) {
        const auto pid = parsePid(entry->d_name);
        if (!pid || *pid <= highest_) {
            continue;
        }
        highest_ = *pid;
        Known known = named(procDir, entry->d_name, true);
        if (!known.name.empty() || known.pending) {
            known.inode = entry->d_ino;
            known.namedAt = scans_;
            known_.insert_or_assign(*pid, std::move(known));
        }
    }
    return true;
}

void ProcfsProcessLister::renameKnown(bool renameAll) {
    const os::UniqueFd procDir(::open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (auto it = known_.begin(); it != known_.end();) {
        if (!renameDue(it->second, renameAll)) {
            ++it;
            continue;
        }
        const std::string pidText = std::to_string(it->first);
        if (runsTheSameProgram(procDir.get(), pidText, it->second)) {
            ++it;
            continue;
        }
        Known known = named(procDir.get(), pidText, false);
        if (known.name.empty()) {
            it = known_.erase(it); // it has ended
            continue;
        }
        known.inode = it->second.inode;
        known.namedAt = it->second.namedAt;
        it->second = std::move(known);
        ++it;
    }
}

void ProcfsProcessLister::apply(const std::vector<ProcessEvents::Change>& changes) {
    const os::UniqueFd procDir(::open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (const auto& change : changes) {
        Known known = change.ended ? Known{} : named(procDir.get(), std::to_string(change.pid), false);
        if (known.name.empty()) {
            known_.erase(change.pid);
        } else {
            // No inode: a lasting name is checked again at the next reading of the folder.
            known.namedAt = scans_;
            known_.insert_or_assign(change.pid, std::move(known));
        }
    }
}

template <class Visit> void ProcfsProcessLister::scan(Visit visit) {
    ++scans_;
    if (events_) {
        const ProcessEvents::Changes changes = events_->take();
        if (!folderRead_ || changes.lost) {
            readFolder(true);
            folderRead_ = true;
        } else {
            apply(changes.changes);
        }
    } else {
        const bool renameAll = scans_ - lastFullRename_ >= kFullRenameScans;
        if (renameAll) {
            lastFullRename_ = scans_;
        }
        const std::string made = processesMadeAndEnded(root_);
        const bool full = made.empty() || ++scansWithoutFolder_ >= kMostScansWithoutFolder;
        if (full || (made != lastMade_ && !grewOnly(lastMade_, made))) {
            readFolder(renameAll);
            scansWithoutFolder_ = 0;
        } else {
            renameKnown(renameAll);
            // Ids grow until they wrap around, so a process made since the last look lists after
            // the highest id seen then: only that end of the folder is read. One that ended meanwhile
            // leaves at its next naming or at the next full reading.
            if (made != lastMade_ && !readNewProcesses()) {
                readFolder(false);
                scansWithoutFolder_ = 0;
            }
        }
        lastMade_ = made;
    }
    for (auto& [pid, known] : known_) {
        if (!known.pending) {
            visit(pid, known);
        }
    }
}

void ProcfsProcessLister::setWanted(std::span<const std::string> names) {
    Wanted& wanted = *wanted_;
    if (wanted.generation != 0 && std::ranges::equal(names, wanted.names)) {
        return;
    }
    wanted.names.assign(names.begin(), names.end());
    wanted.lower.clear();
    wanted.buildIds.clear();
    for (const std::string& name : names) {
        const std::string lower = engine::lowerName(name);
        wanted.lower.insert(lower);
        auto installed = wanted.installed.find(lower);
        if (installed == wanted.installed.end()) {
            installed = wanted.installed.emplace(lower, installedBuildIds(name)).first;
        }
        for (const std::string& id : installed->second) {
            if (std::ranges::find(wanted.buildIds, id) == wanted.buildIds.end()) {
                wanted.buildIds.push_back(id);
            }
        }
    }
    ++wanted.generation;
}

bool ProcfsProcessLister::wanted(ProcessId pid, Known& known) {
    Wanted& wanted = *wanted_;
    if (known.judgedAs == wanted.generation) {
        return known.isWanted;
    }
    bool hit = std::ranges::any_of(known.answers,
                                   [&](const std::string& name) { return wanted.lower.contains(name); });
    if (!hit && known.cut) {
        const std::string start = engine::lowerName(known.name);
        hit = std::ranges::any_of(wanted.lower,
                                  [&](const std::string& name) { return name.starts_with(start); });
    }
    if (!hit && known.executable != 0 && !wanted.buildIds.empty()) {
        const auto identity = std::make_pair(known.device, known.executable);
        auto id = wanted.buildIdOf.find(identity);
        if (id == wanted.buildIdOf.end()) {
            // Read through the process's link, and kept only if that still leads to the same file.
            const os::UniqueFd exe(
                ::open((root_ / std::to_string(pid) / "exe").c_str(), O_RDONLY | O_CLOEXEC));
            struct stat file {};
            if (exe.get() < 0 || ::fstat(exe.get(), &file) != 0 || file.st_dev != known.device ||
                file.st_ino != known.executable) {
                return false; // judged again next time
            }
            // Every program run since start is here once; a machine that ran this many (upgrades
            // give files new inodes) starts the list again rather than let it grow.
            if (wanted.buildIdOf.size() >= kMostExecutablesKnown) {
                wanted.buildIdOf.clear();
            }
            id = wanted.buildIdOf.emplace(identity, readBuildId(exe.get())).first;
        }
        hit = !id->second.empty() && std::ranges::find(wanted.buildIds, id->second) != wanted.buildIds.end();
    }
    known.judgedAs = wanted.generation;
    known.isWanted = hit;
    return hit;
}

ProcessSnapshot ProcfsProcessLister::snapshot() {
    // A list shown to the user (the process pickers) names every process at once.
    deferForeign_ = false;
    ProcessSnapshot processes;
    scan([&](ProcessId pid, const Known& known) { processes.push_back({pid, known.name}); });
    return processes;
}

std::vector<ProcessId> ProcfsProcessLister::processesNamed(std::span<const std::string> names) {
    std::vector<ProcessId> found;
    deferForeign_ = true;
    setWanted(names);
    scan([&](ProcessId pid, Known& known) {
        if (wanted(pid, known)) {
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

ProcessEnder::Ending SignalProcessKiller::end(ProcessId pid) {
    if (::kill(static_cast<pid_t>(pid), SIGKILL) == 0) {
        return Ending::Ended;
    }
    return errno == EPERM ? Ending::Refused : Ending::Failed;
}

ProcessId ownProcessId() {
    return static_cast<ProcessId>(::getpid());
}

} // namespace tallowby::platform
