#pragma once
// Which file the hosts path names. A system may keep /etc/hosts as a symbolic link, so links are
// followed; but only a regular file (or the place where one is to be made) is ever the hosts file.
// A named pipe would hang every open, and writing "through" a link to a device would replace the
// device with a plain file.
#include <filesystem>
#include <optional>

#include "platform/hosts_io.h"

namespace tallowby::platform::hosts_io {

struct HostsTarget {
    std::filesystem::path path;     // the file itself, never a link
    std::optional<FileStamp> stamp; // nothing when no file is there yet
};

// Follows the links at the path to the file they lead to. With a confining folder (the sandbox
// program's own folder) every step must stay inside it; without one, links may lead anywhere. Throws
// os::FileError saying plainly what is wrong when the path leads to something that is not a
// regular file (a named pipe, a device, a socket, a folder), into a loop of links, out of the
// confining folder, or into a folder that does not exist; its path() is the path given.
HostsTarget findHostsTarget(const std::filesystem::path& path, const std::filesystem::path& confinement);

// The lock file that every writer of the hosts file at target (a file, not a link) takes before it
// reads, plans and replaces the file: beside it, named after it (".hosts.tallowby-lock"). Not the
// file itself, whose replacement is a new file under the old name.
std::filesystem::path hostsLockFile(const std::filesystem::path& target);

} // namespace tallowby::platform::hosts_io
