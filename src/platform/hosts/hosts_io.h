#pragma once
// The file operations the hosts writer needs beyond the store's atomic replacement. Failures throw
// store::FileError carrying the system's description, or a plain one for a path that names something
// other than a regular file.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

struct stat;

namespace tallowby::platform::hosts_io {

// What tells whether a file has changed without reading it: which file it is, its size and when it
// was last written.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp stampOf(const struct stat& info);

// The stamp of what is at the path itself (a link is not followed); nothing when nothing is there
// or it cannot be looked at.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

// A regular file's bytes with the stamp they were read under.
struct RegularFile {
    std::string bytes;
    FileStamp stamp;
};

// The file at the path, or nothing when no file exists there. A link is not followed and nothing but
// a regular file is read; the open never waits, not even on a named pipe without a writer.
std::optional<RegularFile> readRegularFile(const std::filesystem::path& path);

// Creates an empty file readable by everyone, as the resolvers of every user must read the hosts
// file. Whatever appeared at the path meanwhile is left as it is.
void createReadableFile(const std::filesystem::path& path);

// Whether something is mounted on the path itself (a bind-mounted file, as /etc/hosts in a
// container): no other file can be renamed over it.
bool isMountPoint(const std::filesystem::path& path);

// 0 when new files can be made and renamed in the folder, else the errno that refuses them.
int folderWriteError(const std::filesystem::path& folder);

} // namespace tallowby::platform::hosts_io
