#include "platform/hosts/hosts_file.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_target.h"
#include "platform/hosts_io.h"
#include "store/text_file.h"

namespace tallowby::platform {

std::string_view nativeLineEnd() {
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

HostsFile::HostsFile(std::filesystem::path path, std::string lineEnd, std::filesystem::path confinement)
    : path_(std::move(path)), lineEnd_(std::move(lineEnd)), confinement_(std::move(confinement)),
      folderProbe_(hosts_io::folderWriteError) {}

void HostsFile::setPrivilegedWrite(PrivilegedWrite write) {
    background_.reset();
    privilegedWrite_ = [write = std::move(write)](const std::vector<std::string>& sites, bool) {
        write(sites);
        return true;
    };
}

void HostsFile::setPrivilegedWrite(std::shared_ptr<BackgroundHostsWrite> write) {
    background_ = write;
    privilegedWrite_ = [write = std::move(write)](const std::vector<std::string>& sites, bool wait) {
        if (!wait)
            return write->write(sites);
        write->writeAndWait(sites);
        return true;
    };
}

void HostsFile::setPrivilegedWriteEnded(std::function<void()> ended) const {
    if (background_)
        background_->setSettled(std::move(ended));
}

bool HostsFile::write(const std::vector<std::string>& sites) const {
    return writeWith(sites, false);
}

void HostsFile::writeAndWait(const std::vector<std::string>& sites) const {
    writeWith(sites, true);
}

bool HostsFile::writeWith(const std::vector<std::string>& sites, bool wait) const {
    try {
        writeOwn(sites);
        return true;
    } catch (const store::FileError& error) {
        if (!privilegedWrite_ || (error.code() != EACCES && error.code() != EPERM))
            throw;
        // The helper refuses a whole request for one name it does not take; the block holds only
        // writable sites either way.
        std::vector<std::string> writable;
        std::ranges::copy_if(sites, std::back_inserter(writable),
                             [](const std::string& site) { return isWritableSite(site); });
        if (!privilegedWrite_(writable, wait))
            return false;
        std::optional<hosts_io::FileStamp> stamp;
        try {
            stamp = hosts_io::findHostsTarget(path_, confinement_).stamp;
        } catch (const store::FileError&) {
            // Nothing to remember: the next check reads the file afresh.
        }
        remember(stamp, sites, true);
        return true;
    }
}

void HostsFile::writeOwn(const std::vector<std::string>& sites) const {
    const hosts_io::HostsTarget target = hosts_io::findHostsTarget(path_, confinement_);
    const std::optional<hosts_io::RegularFile> old =
        target.stamp ? hosts_io::readRegularFile(target.path) : std::nullopt;
    const std::string_view oldBytes = old ? std::string_view(old->bytes) : std::string_view();
    if (hostsHold(oldBytes, sites, lineEnd_)) {
        remember(old ? std::optional(old->stamp) : std::nullopt, sites, true);
        return;
    }
    const std::string bytes = renderHosts(oldBytes, sites, lineEnd_);
    if (!old)
        hosts_io::createReadableFile(target.path);
    // Inside a container /etc/hosts is often a file mounted on its own, and a folder may refuse new
    // files while the file itself takes writes: nothing can be renamed over the file there, so its
    // content is rewritten in place, giving up atomicity only where it cannot be had.
    if (hosts_io::isMountPoint(target.path) || folderProbe_(target.path.parent_path()) != 0)
        store::rewriteFileInPlace(target.path, bytes);
    else
        store::replaceFileContents(target.path, bytes);
    remember(hosts_io::fileStamp(target.path), sites, true);
}

bool HostsFile::holds(const std::vector<std::string>& sites) const {
    std::optional<hosts_io::RegularFile> file;
    try {
        const hosts_io::HostsTarget target = hosts_io::findHostsTarget(path_, confinement_);
        if (!target.stamp)
            return sites.empty();
        if (seen_ && seen_->stamp == *target.stamp && seen_->sites == sites)
            return seen_->held;
        file = hosts_io::readRegularFile(target.path);
    } catch (const store::FileError&) {
        return false;
    }
    if (!file)
        return false;
    const bool held = hostsHold(file->bytes, sites, lineEnd_);
    remember(file->stamp, sites, held);
    return held;
}

void HostsFile::remember(const std::optional<hosts_io::FileStamp>& stamp,
                         const std::vector<std::string>& sites, bool held) const {
    if (stamp)
        seen_ = Seen{*stamp, sites, held};
    else
        seen_.reset();
}

} // namespace tallowby::platform
