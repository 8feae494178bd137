#pragma once
// The file operations the hosts writer needs beyond the floor's atomic replacement. Failures throw
// os::FileError carrying the system's description, or a plain one for a path that names something
// other than a regular file.
#include <filesystem>
#include <optional>
#include <string>

#include "os/files.h"

namespace tallowby::platform::hosts_io {

using os::FileStamp;
using os::folderWriteError;
using os::RegularFile;

// A hosts file with a large block list of the user's own (several MiB) is read; one beyond this is
// no hosts file anyone keeps.
inline constexpr std::size_t kLargestHostsFile = 64 * 1024 * 1024;

// The file at the path, or nothing when no file exists there. A link is not followed and nothing but
// a regular file is read, no larger than kLargestHostsFile; the open never waits, not even on a named
// pipe without a writer.
inline std::optional<RegularFile> readRegularFile(const std::filesystem::path& path) {
    return os::readRegularFile(path, kLargestHostsFile, os::Links::NotFollowed);
}

// Creates an empty file readable by everyone, as the resolvers of every user must read the hosts
// file. Whatever appeared at the path meanwhile is left as it is.
void createReadableFile(const std::filesystem::path& path);

// Who this process runs as, as the hosts file's block names the owner of a part: the user id in
// decimal on Linux, the user's SID ("S-1-5-21-...") on Windows.
std::string thisUser();

// The machine's own name as the system gives it (gethostname); empty when it cannot tell.
std::string machineName();

// Whether something is mounted on the path itself (a bind-mounted file, as /etc/hosts in a
// container): no other file can be renamed over it.
bool isMountPoint(const std::filesystem::path& path);

} // namespace tallowby::platform::hosts_io
