#include "platform/hosts/hosts_file.h"

#include <cerrno>

#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_io.h"
#include "store/text_file.h"

namespace tallowby::platform {

namespace {

// Where a symbolic link at the path leads (through every hop, even to a file not yet there), so
// that a write replaces the file the resolver reads rather than the link.
std::filesystem::path followLinks(std::filesystem::path path) {
    constexpr int kMaxHops = 40;
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error)))
            break;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

} // namespace

std::string_view nativeLineEnd() {
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

HostsFile::HostsFile(std::filesystem::path path, std::string lineEnd)
    : path_(std::move(path)), lineEnd_(std::move(lineEnd)), folderProbe_(hosts_io::folderWriteError) {}

void HostsFile::write(const std::vector<std::string>& sites) const {
    try {
        writeOwn(sites);
    } catch (const store::FileError& error) {
        if (!privilegedWrite_ || (error.code() != EACCES && error.code() != EPERM))
            throw;
        privilegedWrite_(sites);
        remember(followLinks(path_), sites, true);
    }
}

void HostsFile::writeOwn(const std::vector<std::string>& sites) const {
    const std::filesystem::path target = followLinks(path_);
    const std::optional<std::string> old = hosts_io::readFileBytes(target);
    const std::string bytes = renderHosts(old.value_or(std::string()), sites, lineEnd_);
    if (old == bytes) {
        remember(target, sites, true);
        return;
    }
    if (!old)
        hosts_io::createReadableFile(target);
    // Inside a container /etc/hosts is often a file mounted on its own, and a folder may refuse new
    // files while the file itself takes writes: nothing can be renamed over the file there, so its
    // content is rewritten in place, giving up atomicity only where it cannot be had.
    if (hosts_io::isMountPoint(target) || folderProbe_(target.parent_path()) != 0)
        store::rewriteFileInPlace(target, bytes);
    else
        store::replaceFileContents(target, bytes);
    remember(target, sites, true);
}

bool HostsFile::holds(const std::vector<std::string>& sites) const {
    const std::filesystem::path target = followLinks(path_);
    const std::optional<hosts_io::FileStamp> stamp = hosts_io::fileStamp(target);
    if (!stamp)
        return false;
    if (seen_ && seen_->stamp == *stamp && seen_->sites == sites)
        return seen_->held;
    std::optional<std::string> content;
    try {
        content = hosts_io::readFileBytes(target);
    } catch (const store::FileError&) {
        return false;
    }
    const bool held = content && renderHosts(*content, sites, lineEnd_) == *content;
    remember(target, sites, held);
    return held;
}

void HostsFile::remember(const std::filesystem::path& target, const std::vector<std::string>& sites,
                         bool held) const {
    const std::optional<hosts_io::FileStamp> stamp = hosts_io::fileStamp(target);
    if (stamp)
        seen_ = Seen{*stamp, sites, held};
    else
        seen_.reset();
}

} // namespace tallowby::platform
