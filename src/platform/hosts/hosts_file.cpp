#include "platform/hosts/hosts_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

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
      folderProbe_(hosts_io::folderWriteError), now_([] {
          return std::chrono::duration_cast<std::chrono::seconds>(
                     std::chrono::system_clock::now().time_since_epoch())
              .count();
      }) {}

void HostsFile::setPrivilegedWrite(PrivilegedWrite write) {
    background_.reset();
    privilegedWrite_ = [write = std::move(write)](const BlockRequest& request, bool) {
        write(request);
        return true;
    };
}

void HostsFile::setPrivilegedWrite(std::shared_ptr<BackgroundHostsWrite> write) {
    background_ = write;
    privilegedWrite_ = [write = std::move(write)](const BlockRequest& request, bool wait) {
        if (!wait)
            return write->write(request);
        write->writeAndWait(request);
        return true;
    };
}

void HostsFile::setPrivilegedWriteEnded(std::function<void()> ended) const {
    if (background_)
        background_->setSettled(std::move(ended));
}

bool HostsFile::write(const BlockRequest& request) const {
    return writeWith(request, false);
}

void HostsFile::writeAndWait(const BlockRequest& request) const {
    writeWith(request, true);
}

void HostsFile::askAgain(const BlockRequest& request) const {
    if (background_)
        background_->forgetRefusal(writableOnly(request));
}

BlockRequest HostsFile::writableOnly(BlockRequest request) {
    // The block holds only writable sites either way.
    std::erase_if(request.sites, [](const std::string& site) { return !isWritableSite(site); });
    std::erase_if(request.lockedUntil, [](const auto& lock) { return !isWritableSite(lock.first); });
    return request;
}

bool HostsFile::writeWith(const BlockRequest& request, bool wait) const {
    try {
        writeOwn(request);
        return true;
    } catch (const store::FileError& error) {
        if (!privilegedWrite_ || (error.code() != EACCES && error.code() != EPERM))
            throw;
        if (!privilegedWrite_(writableOnly(request), wait))
            return false;
        // The next check reads what the helper left, with the locks it kept and their times.
        seen_.reset();
        return true;
    }
}

void HostsFile::writeOwn(const BlockRequest& request) const {
    const hosts_io::HostsTarget target = hosts_io::findHostsTarget(path_, confinement_);
    const std::optional<hosts_io::RegularFile> old =
        target.stamp ? hosts_io::readRegularFile(target.path) : std::nullopt;
    const std::string_view oldBytes = old ? std::string_view(old->bytes) : std::string_view();
    const std::int64_t now = now_();
    const HostsWritePlan plan = planHostsWrite(oldBytes, request, now, lineEnd_);
    if (!plan.content) {
        remember(old ? std::optional(old->stamp) : std::nullopt, request, true, nextLockEnd(plan.block, now));
        return;
    }
    const std::string& bytes = *plan.content;
    if (!old)
        hosts_io::createReadableFile(target.path);
    // Inside a container /etc/hosts is often a file mounted on its own, and a folder may refuse new
    // files while the file itself takes writes: nothing can be renamed over the file there, so its
    // content is rewritten in place, giving up atomicity only where it cannot be had.
    if (hosts_io::isMountPoint(target.path) || folderProbe_(target.path.parent_path()) != 0)
        store::rewriteFileInPlace(target.path, bytes);
    else
        store::replaceFileContents(target.path, bytes);
    // A stamp taken now could already be another writer's (a hand edit in the moment after ours),
    // and would vouch for its content for good: the next check reads what is there.
    seen_.reset();
}

std::optional<hosts_io::RegularFile> HostsFile::read() const {
    const hosts_io::HostsTarget target = hosts_io::findHostsTarget(path_, confinement_);
    return target.stamp ? hosts_io::readRegularFile(target.path) : std::nullopt;
}

bool HostsFile::holds(const BlockRequest& request) const {
    const std::int64_t now = now_();
    std::optional<hosts_io::RegularFile> file;
    try {
        const hosts_io::HostsTarget target = hosts_io::findHostsTarget(path_, confinement_);
        if (!target.stamp)
            return request.sites.empty();
        if (seen_ && seen_->stamp == *target.stamp && seen_->request == request &&
            (!seen_->validUntil || now < *seen_->validUntil))
            return seen_->held;
        file = hosts_io::readRegularFile(target.path);
    } catch (const store::FileError&) {
        return false;
    }
    if (!file)
        return false;
    const HostsWritePlan plan = planHostsWrite(file->bytes, request, now, lineEnd_);
    // Either block's next lock end can change the answer.
    std::optional<std::int64_t> validUntil = nextLockEnd(plan.oldBlock, now);
    if (const auto blockEnd = nextLockEnd(plan.block, now);
        blockEnd && (!validUntil || *blockEnd < *validUntil))
        validUntil = blockEnd;
    remember(file->stamp, request, !plan.content, validUntil);
    return !plan.content;
}

std::vector<BlockLine> HostsFile::locksStaying(const BlockRequest& request) const {
    const std::optional<hosts_io::RegularFile> file = read();
    return file ? platform::locksStaying(blockLines(file->bytes), request, now_()) : std::vector<BlockLine>();
}

bool HostsFile::lockPassed() const {
    try {
        const std::optional<hosts_io::RegularFile> file = read();
        return file && platform::lockPassed(blockLines(file->bytes), now_());
    } catch (const store::FileError&) {
        return false;
    }
}

void HostsFile::remember(const std::optional<hosts_io::FileStamp>& stamp, const BlockRequest& request,
                         bool held, std::optional<std::int64_t> validUntil) const {
    if (stamp)
        seen_ = Seen{*stamp, request, held, validUntil};
    else
        seen_.reset();
}

} // namespace tallowby::platform
