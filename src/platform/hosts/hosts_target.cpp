#include "platform/hosts/hosts_target.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include "os/files.h"

namespace tallowby::platform::hosts_io {

namespace {

namespace fs = std::filesystem;

// The kernel's own limit on the links in one path.
constexpr int kMaxLinkHops = 40;

[[noreturn]] void refuse(const fs::path& reported, const std::string& description, int code = 0) {
    throw os::FileError(reported, description, code);
}

fs::path folderOf(const fs::path& place) {
    return place.has_parent_path() ? place.parent_path() : fs::path(".");
}

// A look at a place that failed for the shape of its path is told in plain words; any other failure
// in the system's.
[[noreturn]] void refuseLookup(const fs::path& reported, const fs::path& folder, int error) {
    switch (error) {
    case ENOENT:
        refuse(reported, "the folder " + folder.string() + " does not exist", error);
    case ENOTDIR:
        refuse(reported, "a part of its path is not a folder", error);
    case ELOOP:
        refuse(reported, "its path goes round in a loop of symbolic links", error);
    default:
        os::throwFileError(reported, error);
    }
}

bool isInside(const fs::path& folder, const fs::path& path) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

// The place with the links of its folder resolved; refused unless that folder lies inside the
// confining one. Checked before each step is looked at, so nothing outside is even looked at.
fs::path confinedPlace(const fs::path& place, const fs::path& confinement, const fs::path& reported) {
    std::error_code error;
    const fs::path root = fs::canonical(confinement, error);
    if (error)
        refuseLookup(reported, confinement, error.value());
    const fs::path folder = folderOf(place);
    const fs::path resolved = fs::canonical(folder, error);
    if (error)
        refuseLookup(reported, folder, error.value());
    if (!isInside(root, resolved))
        refuse(reported, "it leads to " + (resolved / place.filename()).string() + ", outside the folder " +
                             root.string() + " that this program keeps to");
    return resolved / place.filename();
}

// Nothing is at the place: fine when its folder is there to make the file in.
void requireFolder(const fs::path& place, const fs::path& reported) {
    const fs::path folder = folderOf(place);
    std::error_code error;
    const std::filesystem::file_status status = fs::status(folder, error);
    if (error)
        refuseLookup(reported, folder, error.value());
    if (!fs::is_directory(status))
        refuseLookup(reported, folder, ENOTDIR);
}

fs::path linkTarget(const fs::path& link, const fs::path& reported) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    if (error)
        os::throwFileError(reported, error.value());
    return target.is_absolute() ? target : folderOf(link) / target;
}

} // namespace

HostsTarget findHostsTarget(const fs::path& path, const fs::path& confinement) {
    fs::path place = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        if (!confinement.empty())
            place = confinedPlace(place, confinement, path);
        int error = 0;
        const std::optional<os::FileInfo> info = os::fileInfo(place, os::Links::NotFollowed, &error);
        if (!info && error != ENOENT)
            refuseLookup(path, folderOf(place), error);
        if (!info) {
            requireFolder(place, path);
            return {place, std::nullopt};
        }
        if (info->kind == os::FileKind::Regular)
            return {place, info->stamp};
        if (info->kind != os::FileKind::Link)
            os::refuseFileKind(path, info->kind);
        place = linkTarget(place, path);
    }
    refuse(path, "it is a symbolic link that leads round in a loop", ELOOP);
}

fs::path hostsLockFile(const fs::path& target) {
    return folderOf(target) / ("." + target.filename().string() + ".tallowby-lock");
}

} // namespace tallowby::platform::hosts_io
