#include "platform/hosts/hosts_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "os/files.h"
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

namespace {

// A writer holds the lock for a read, a plan and a rename; one that holds it longer is stuck.
constexpr auto kLockWait = std::chrono::seconds(10);
// Each round is lost only to a writer that changed the file while this one planned: hand edits
// a few milliseconds apart give way long before this.
constexpr int kMostRounds = 100;

// A lift the user asked for takes the block out of a file of any size; any other write reads no
// more than a hosts file holds.
std::size_t readLimit(const BlockRequest& request) {
    return request.liftEarly ? os::kNoLimit : hosts_io::kLargestHostsFile;
}

} // namespace

HostsFile::HostsFile(std::filesystem::path path, std::string lineEnd, std::filesystem::path confinement)
    : path_(std::move(path)), writer_{hosts_io::thisUser(), std::move(lineEnd), hosts_io::machineName()},
      confinement_(std::move(confinement)), folderProbe_(hosts_io::folderWriteError), now_([] {
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
    if (asked_ && asked_->request == request)
        asked_.reset();
    if (!background_)
        return;
    std::optional<hosts_io::RegularFile> file;
    try {
        file = read(readLimit(request));
    } catch (const store::FileError&) {
        // The write itself tells why the file cannot be read.
    }
    background_->forgetRefusal(
        writableOnly(request, file ? std::string_view(file->bytes) : std::string_view()));
}

BlockRequest HostsFile::writableOnly(BlockRequest request, std::string_view content) const {
    const std::vector<std::string> machine = machineNames(content, writer_.machineName);
    const auto unwritable = [&](const std::string& site) {
        return !isWritableSite(site) || isMachineName(machine, site);
    };
    std::erase_if(request.sites, unwritable);
    std::erase_if(request.lockedUntil, [&](const auto& lock) { return unwritable(lock.first); });
    return request;
}

bool HostsFile::writeWith(const BlockRequest& request, bool wait) const {
    try {
        writeOwn(request);
        return true;
    } catch (const store::FileError& error) {
        if (!privilegedWrite_ || (error.code() != EACCES && error.code() != EPERM))
            throw;
    }
    const std::int64_t now = now_();
    std::optional<hosts_io::RegularFile> file = read(readLimit(request));
    const std::string_view bytes = file ? std::string_view(file->bytes) : std::string_view();
    // Asked for already: the helper's clock may keep what this program's has let go, and the same
    // request would be refused or kept the same way again.
    if (!wait && stillAsLeft(partLines(bytes, writer_.owner), request, now))
        return true;
    if (!privilegedWrite_(writableOnly(request, bytes), wait))
        return false;
    // The next check reads what the helper left, with the locks it kept and their times.
    seen_.reset();
    file = read(readLimit(request));
    asked_ = Asked{request, file ? partLines(file->bytes, writer_.owner) : std::vector<BlockLine>(), now};
    return true;
}

bool HostsFile::stillAsLeft(const std::vector<BlockLine>& part, const BlockRequest& request,
                            std::int64_t now) const {
    if (!asked_ || asked_->request != request || asked_->partLeft != part)
        return false;
    return std::ranges::none_of(part, [&](const BlockLine& line) {
        return line.lockedUntil > asked_->at && line.lockedUntil <= now;
    });
}

HostsWritePlan HostsFile::plan(const std::optional<hosts_io::RegularFile>& file, const BlockRequest& request,
                               std::int64_t now) const {
    HostsWritePlan plan =
        planHostsWrite(file ? std::string_view(file->bytes) : std::string_view(), request, now, writer_);
    if (!plan.refusal.empty())
        throw store::FileError(path_, plan.refusal, EFBIG);
    return plan;
}

void HostsFile::writeOwn(const BlockRequest& request) const {
    const std::size_t limit = readLimit(request);
    hosts_io::HostsTarget target = hosts_io::findHostsTarget(path_, confinement_);
    std::optional<hosts_io::RegularFile> old =
        target.stamp ? os::readRegularFile(target.path, limit, os::Links::NotFollowed) : std::nullopt;
    const std::int64_t now = now_();
    // A file that holds the part already is left alone, unlocked: an ordinary user may not take the
    // lock, and nothing is to be asked of the helper.
    if (const HostsWritePlan first = plan(old, request, now); !first.content) {
        remember(old ? std::optional(old->stamp) : std::nullopt, request, true, nextLockEnd(first.part, now));
        return;
    }
    // Inside a container /etc/hosts is often a file mounted on its own, and a folder may refuse new
    // files while the file itself takes writes: nothing can be renamed over the file there, so its
    // content is rewritten in place, giving up atomicity only where it cannot be had; its inode
    // stays, so the lock is taken on the file itself.
    const bool inPlace =
        target.stamp && (hosts_io::isMountPoint(target.path) || folderProbe_(target.path.parent_path()) != 0);
    const os::UniqueFd lock =
        os::lockExclusively(inPlace ? target.path : hosts_io::hostsLockFile(target.path), kLockWait);
    for (int round = 0; round < kMostRounds; ++round) {
        target = hosts_io::findHostsTarget(path_, confinement_);
        old = target.stamp ? os::readRegularFile(target.path, limit, os::Links::NotFollowed) : std::nullopt;
        const HostsWritePlan planned = plan(old, request, now);
        if (!planned.content) {
            seen_.reset();
            return;
        }
        if (!old) {
            hosts_io::createReadableFile(target.path);
            continue;
        }
        if (inPlace) {
            // A hand edit keeps no lock: one made since the read is read and planned again.
            if (os::fileStamp(target.path) != old->stamp)
                continue;
            store::rewriteFileInPlace(target.path, *planned.content);
        } else if (!os::replaceFileIfUnchanged(target.path, *planned.content, old->stamp)) {
            continue;
        }
        // A stamp taken now could already be another writer's (a hand edit in the moment after
        // ours), and would vouch for its content for good: the next check reads what is there.
        seen_.reset();
        return;
    }
    seen_.reset();
    throw store::FileError(path_, "it kept changing while it was being written", EAGAIN);
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
    const HostsWritePlan planned = planHostsWrite(file->bytes, request, now, writer_);
    // Either part's next lock end can change the answer.
    std::optional<std::int64_t> validUntil = nextLockEnd(planned.oldPart, now);
    if (const auto partEnd = nextLockEnd(planned.part, now);
        partEnd && (!validUntil || *partEnd < *validUntil))
        validUntil = partEnd;
    const bool held =
        stillAsLeft(planned.oldPart, request, now) || (!planned.content && planned.refusal.empty());
    remember(file->stamp, request, held, validUntil);
    return held;
}

std::optional<hosts_io::RegularFile> HostsFile::read(std::size_t limit) const {
    const hosts_io::HostsTarget target = hosts_io::findHostsTarget(path_, confinement_);
    return target.stamp ? os::readRegularFile(target.path, limit, os::Links::NotFollowed) : std::nullopt;
}

std::vector<BlockLine> HostsFile::locksStaying(const BlockRequest& request) const {
    const std::optional<hosts_io::RegularFile> file = read();
    return file ? platform::locksStaying(partLines(file->bytes, writer_.owner), request, now_())
                : std::vector<BlockLine>();
}

bool HostsFile::lockPassed() const {
    try {
        const std::optional<hosts_io::RegularFile> file = read();
        if (!file)
            return false;
        const std::vector<BlockLine> part = partLines(file->bytes, writer_.owner);
        const std::int64_t now = now_();
        if (asked_ && asked_->partLeft == part)
            return std::ranges::any_of(part, [&](const BlockLine& line) {
                return line.lockedUntil > asked_->at && line.lockedUntil <= now;
            });
        return platform::lockPassed(part, now);
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
