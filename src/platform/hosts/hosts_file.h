#pragma once
// The system hosts file, through which the listed websites are made to resolve to this machine.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hosts/background_hosts_write.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/site_locks.h"
#include "platform/hosts_io.h"

namespace tallowby::platform {

// The line end of the system's own text files, for the program's lines (the path of the hosts file
// is in SystemPaths).
std::string_view nativeLineEnd();

class HostsFile {
  public:
    // Writes the program's block with these sites where this process may not write the file itself
    // (a program run by an ordinary user); throws store::FileError when that fails or is refused.
    using PrivilegedWrite = std::function<void(const BlockRequest& request)>;
    // 0 when new files can be made and renamed in the folder, else the errno that refuses them.
    using FolderProbe = std::function<int(const std::filesystem::path& folder)>;

    // lineEnd ends the program's own lines; the user's lines keep theirs. A link at the path is
    // followed to the regular file it leads to, anywhere; with a confinement (the sandbox program's
    // folder) only as long as every step of the way stays inside that folder. The part written is
    // that of the user this process runs as.
    HostsFile(std::filesystem::path path, std::string lineEnd, std::filesystem::path confinement = {});

    // Writes the part of another user (the hosts helper: the user pkexec names).
    void setOwner(std::string owner) { writer_.owner = std::move(owner); }
    const std::string& owner() const { return writer_.owner; }

    // Seconds since the epoch, for the times locked sites stay until.
    using Now = std::function<std::int64_t()>;

    // Makes this user's part of the program's block hold one line per site, in order, followed by
    // the sites the part locks beyond now that the request leaves out (see mergedBlock); every
    // other part and the rest of the file stay as they are (see planHostsWrite). A missing file is
    // created. One writer at a time: the read, the plan and the replacement happen under the lock
    // of hostsLockFile(), and the file is replaced only while it is still the one read (else it is
    // read and planned again), so no write loses another's, nor a hand edit. The file is replaced
    // atomically, or, where its folder refuses new files or the file is a mount point, rewritten in
    // place (and locked itself). Throws store::FileError when the file cannot be read or written,
    // with the system's description, or a plain one when the path leads to something that is no
    // regular file (see findHostsTarget), which is then neither written nor waited on, or when the
    // write would take the part or the file past its bound (hosts_bounds.h); the file keeps its old
    // content. A file without the program's block is not written to block nothing. Returns false
    // while a write handed to a background privileged write is still under way (the file does not
    // hold the block yet), else true. A privileged write is not asked for again while the request
    // is the one last asked for and the part is as it left it, but once after each lock of the
    // part has ended (by this program's clock, which may not be the helper's).
    bool write(const BlockRequest& request) const;

    // The same, but a privileged write is waited for: the program's last write, as it ends, and a
    // lift of locked sites that the user asked for.
    void writeAndWait(const BlockRequest& request) const;

    // The next write() of this request asks for the permission again, even where a refusal of it is
    // held back or the part is as the last privileged write of it left it: the user has just asked
    // for it.
    void askAgain(const BlockRequest& request) const;

    // Whether this user's part is what write() would leave now, or what the last privileged write
    // of this same request left. Cheap enough for every tick: the file is
    // read only when it is another file, or its size or modification time differ, from when it was
    // last written or read here, or a lock it holds has ended since. A file that cannot be read, or
    // is no regular file, does not hold the block. Never waits.
    bool holds(const BlockRequest& request) const;

    // The sites of the file that stay blocked, locked, although the request leaves them out. Throws
    // store::FileError when the file cannot be read.
    std::vector<BlockLine> locksStaying(const BlockRequest& request) const;

    // Whether this user's part holds a locked site whose time has come, which the next write
    // lifts (after a privileged write, one whose time came since it). false when the file cannot
    // be read.
    bool lockPassed() const;

    const std::filesystem::path& path() const { return path_; }

    // Taken when this process's own write is refused for want of rights (EACCES or EPERM; not on a
    // read-only file system, which no helper can write either).
    void setPrivilegedWrite(PrivilegedWrite write);
    // The same, made beside the caller, so a password dialog does not hold it up.
    void setPrivilegedWrite(std::shared_ptr<BackgroundHostsWrite> write);
    // Called, on another thread, when a background privileged write has ended: write() then tells
    // how it went.
    void setPrivilegedWriteEnded(std::function<void()> ended) const;

    // Lets tests reach the in-place route without a folder that really refuses files.
    void setFolderProbe(FolderProbe probe) { folderProbe_ = std::move(probe); }
    // Lets tests set the time the locks are measured against (the system clock by default).
    void setNow(Now now) { now_ = std::move(now); }

  private:
    // What the helper is handed for a file of this content: it refuses a whole request for one name
    // it does not take, and the block holds only writable sites either way, never the machine's own
    // names.
    BlockRequest writableOnly(BlockRequest request, std::string_view content) const;
    bool writeWith(const BlockRequest& request, bool wait) const;
    void writeOwn(const BlockRequest& request) const;
    HostsWritePlan plan(const std::optional<hosts_io::RegularFile>& file, const BlockRequest& request,
                        std::int64_t now) const;
    std::optional<hosts_io::RegularFile> read(std::size_t limit = hosts_io::kLargestHostsFile) const;

    // The request last handed to the privileged write, the part it left and when (this program's
    // clock).
    struct Asked {
        BlockRequest request;
        std::vector<BlockLine> partLeft;
        std::int64_t at = 0;
    };
    bool stillAsLeft(const std::vector<BlockLine>& part, const BlockRequest& request, std::int64_t now) const;

    // The file as it was when last written or read here, and whether it then held this request,
    // which holds until a lock of the file ends.
    struct Seen {
        hosts_io::FileStamp stamp;
        BlockRequest request;
        bool held = false;
        std::optional<std::int64_t> validUntil;
    };
    void remember(const std::optional<hosts_io::FileStamp>& stamp, const BlockRequest& request, bool held,
                  std::optional<std::int64_t> validUntil) const;

    std::filesystem::path path_;
    HostsWriter writer_;
    std::filesystem::path confinement_;
    FolderProbe folderProbe_;
    Now now_;
    // Returns whether the write is done; waits for it when asked to.
    std::function<bool(const BlockRequest& request, bool wait)> privilegedWrite_;
    std::shared_ptr<BackgroundHostsWrite> background_;
    mutable std::optional<Seen> seen_;
    mutable std::optional<Asked> asked_;
};

} // namespace tallowby::platform
