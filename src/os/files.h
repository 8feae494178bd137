#pragma once
// The file operations the store and the platform need from the operating system. Each system has
// its implementation beside this interface (posix/ today); nothing above this folder calls the
// system's file functions itself. Failures throw FileError unless a function says otherwise.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/descriptor.h"
#include "os/file_error.h"

namespace tallowby::os {

// What tells whether a file has changed without reading it: which file it is, its size and when it
// was last written.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct FileInfo {
    FileKind kind = FileKind::Other;
    FileStamp stamp;
    bool ownedByMe = false; // by the user this program runs as
};

enum class Links { Follow, NotFollowed };

// What is at the path; nothing when nothing is there or it cannot be looked at, and then error, where
// given, receives why (ENOENT for nothing there). With NotFollowed a link is told about itself.
std::optional<FileInfo> fileInfo(const std::filesystem::path& path, Links links = Links::NotFollowed,
                                 int* error = nullptr);

// The stamp of what is at the path itself (a link is not followed).
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

// A regular file's bytes with the stamp they were read under.
struct RegularFile {
    std::string bytes;
    FileStamp stamp;
};

inline constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// The file at the path, or nothing when no file exists there (nor the folder it would be in). Only
// a regular file is read: anything else (a named pipe, a device, a folder, a socket; with
// NotFollowed a link too) is refused in plain words without waiting for it, and a file larger than
// limit is refused without holding more than limit bytes.
std::optional<RegularFile> readRegularFile(const std::filesystem::path& path, std::size_t limit = kNoLimit,
                                           Links links = Links::Follow);

// The program's own files, below the folder it keeps them in (root, which may itself be reached
// through a link; empty for the file's own folder). Every folder between root and the file must be a
// real folder, never a link, and the file itself is never followed: only a regular file is read or
// replaced. A link (a dangling one included), a folder, a named pipe, a device or a socket in the
// file's place is refused by kind ("it is a symbolic link, not a regular file") and left as it is;
// so is a link on the way ("... is a symbolic link, not a folder"). A file the path does not lead
// to (nor a folder on the way) is no file: nothing, for the readers.
std::optional<FileInfo> ownFileInfo(const std::filesystem::path& root, const std::filesystem::path& path);
std::optional<RegularFile> readOwnFile(const std::filesystem::path& root, const std::filesystem::path& path,
                                       std::size_t limit = kNoLimit);
// As replaceFileContents, and a new file where none is.
void replaceOwnFile(const std::filesystem::path& root, const std::filesystem::path& path,
                    std::string_view bytes);

// Replaces the file with the bytes: a complete temporary file is written beside the old one and
// renamed over it, so a failed or interrupted write leaves the previous file intact. Keeps the owner
// and mode of a file that is replaced (the owner only where the caller may give files away) and gives
// a new file 0666 less the umask. A link is followed: its target gets the contents. A file that is a
// mount point cannot be renamed over and is rewritten in place instead, the one case in which a
// failed write can leave it partly written.
void replaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// The same, but only while the file at the path is still the one that `expected` was taken from (a
// read of it): true when the bytes took its place; false, and nothing changed, when another writer
// replaced or changed it meanwhile. Where the system swaps two names in one step (Linux's
// RENAME_EXCHANGE), a change made in the very moment of the swap is still seen, and put back.
// A mount point is refused (EBUSY): it can only be rewritten in place.
bool replaceFileIfUnchanged(const std::filesystem::path& path, std::string_view bytes,
                            const FileStamp& expected);

// Writes the bytes over an existing file's content through the same inode: one write of the bytes
// with NUL bytes over whatever old bytes run on beyond them, then truncate to the new length, then
// flush to the disk. Not atomic, but a process killed between the steps leaves the old bytes, the
// new ones, or the new ones followed by NUL bytes (never old lines after new ones, never a file cut
// short). The path names the file itself: a link, a named pipe or any other kind of file that is not
// a regular file is refused. Only for files that cannot be replaced, such as a mounted file.
void rewriteFileInPlace(const std::filesystem::path& path, std::string_view bytes);

// An exclusive lock that the writers of one file share through a lock file of their own, held until
// the returned descriptor is closed (or the process ends). The lock file is made 0600 when missing,
// so no other user may open it to hold the lock, and a link at its path is never followed. Waits
// up to `wait` for another holder. Throws FileError: EACCES where this user may not make or open it,
// EWOULDBLOCK when the wait ran out.
UniqueFd lockExclusively(const std::filesystem::path& lockFile, std::chrono::milliseconds wait);

enum class NewFileMode {
    Umasked,      // 0666 less the umask, as any new file of the user's
    ReadableByAll // 0644 whatever the umask: a file every user's programs must read
};

// Makes a new file for writing, never replacing or following anything already at the path. Throws
// FileError; its code() is EEXIST when something is there.
UniqueFd createExclusive(const std::filesystem::path& path, NewFileMode mode = NewFileMode::Umasked);

// Appends the bytes to the end of the file in one write, making the file when it is missing (0644 on
// POSIX): lines that several writers append never mix, whoever else has the file open.
void appendToFile(const std::filesystem::path& path, std::string_view bytes);

enum class LinkResult { Linked, NoSource, NotSupported };

// Gives the file a second name, as a hard link; never replaces what is at the new name. NotSupported
// where the file system keeps no hard links (or no more of them for this file).
LinkResult linkFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes the file; 0 when it is gone or was never there, else the errno that kept it.
int removeFile(const std::filesystem::path& path);

// The names in the folder, without "." and ".."; empty when it cannot be read.
std::vector<std::string> listFolder(const std::filesystem::path& folder);

// Makes the folder and each missing folder above it with mode 0700, as the XDG base directory
// rules ask for a user's folders; folders already there keep their mode. Throws FileError naming
// the folder that could not be made.
void makePrivateFolders(const std::filesystem::path& folder);

enum class Access { Read, Run };

// 0 when this user may read the file (or run it), else the errno that refuses it.
int accessError(const std::filesystem::path& path, Access access);

// 0 when this user may make and rename files in the folder, else the errno that refuses it.
int folderWriteError(const std::filesystem::path& folder);

} // namespace tallowby::os
