#pragma once
// The file operations the hosts writer needs beyond the store's atomic replacement. Failures throw
// store::FileError carrying the system's description.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tallowby::platform::hosts_io {

// The file's bytes, or nothing when no file exists at the path.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// What tells whether a file has changed without reading it: which file it is, its size and when it
// was last written. Nothing when no file exists at the path (or it cannot be looked at).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

// Creates an empty file readable by everyone, as the resolvers of every user must read the hosts
// file. A file that appeared meanwhile is left as it is.
void createReadableFile(const std::filesystem::path& path);

// Whether something is mounted on the path itself (a bind-mounted file, as /etc/hosts in a
// container): no other file can be renamed over it.
bool isMountPoint(const std::filesystem::path& path);

// 0 when new files can be made and renamed in the folder, else the errno that refuses them.
int folderWriteError(const std::filesystem::path& folder);

} // namespace tallowby::platform::hosts_io
