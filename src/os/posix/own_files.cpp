// The program's own files, reached from the folder that holds them one real folder at a time: each
// step is an openat of the next name that refuses a link, and the file itself is looked at, opened
// and renamed over relative to the folder that was opened, so no link put anywhere on the way can
// turn a read or a write towards a file outside.
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "os/files.h"
#include "os/posix/posix_files.h"

namespace tallowby::os {
namespace {

namespace fs = std::filesystem;

// The opened folder that holds the file, and the file's name in it.
struct Place {
    UniqueFd folder;
    std::string name;
};

std::vector<std::string> stepsBelow(const fs::path& root, const fs::path& path) {
    const fs::path base = root.empty() ? path.parent_path() : root;
    const fs::path relative = path.lexically_normal().lexically_relative(base.lexically_normal());
    std::vector<std::string> steps;
    for (const fs::path& step : relative)
        steps.push_back(step.string());
    // A path that ends in a separator names a folder.
    if (!steps.empty() && (steps.back().empty() || steps.back() == "."))
        refuseFileKind(path, FileKind::Folder);
    if (steps.empty() || std::ranges::find(steps, "..") != steps.end())
        throw FileError(path, "it is not a file inside " + base.string(), EINVAL);
    return steps;
}

// Nothing when a folder on the way is missing, or is a regular file (a path through something that is
// not a folder names no file); a link, a pipe or a device on the way is refused.
std::optional<Place> placeOf(const fs::path& root, const fs::path& path) {
    const std::vector<std::string> steps = stepsBelow(root, path);
    fs::path walked = root.empty() ? path.parent_path() : root;
    UniqueFd folder(::open(walked.empty() ? "." : walked.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throwFileError(walked, errno);
    }
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        walked /= steps[i];
        // Non-blocking: a named pipe put in a folder's place is refused, never waited on.
        const int next = ::openat(folder.get(), steps[i].c_str(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (next < 0) {
            const int error = errno;
            struct stat look {};
            if (error == ENOENT ||
                ::fstatat(folder.get(), steps[i].c_str(), &look, AT_SYMLINK_NOFOLLOW) != 0 ||
                S_ISREG(look.st_mode))
                return std::nullopt;
            if (!S_ISDIR(look.st_mode))
                refuseFileKind(walked, posix::kindOf(look.st_mode), FileKind::Folder);
            throwFileError(walked, error);
        }
        folder.reset(next);
    }
    return Place{std::move(folder), steps.back()};
}

// What stands at the place now; nothing when nothing does.
std::optional<struct stat> lookAt(const Place& place, const fs::path& reported) {
    return posix::lookAt(place.folder.get(), place.name, reported);
}

} // namespace

std::optional<FileInfo> ownFileInfo(const fs::path& root, const fs::path& path) {
    const std::optional<Place> place = placeOf(root, path);
    if (!place)
        return std::nullopt;
    const std::optional<struct stat> look = lookAt(*place, path);
    return look ? std::optional(posix::infoOf(*look)) : std::nullopt;
}

std::optional<RegularFile> readOwnFile(const fs::path& root, const fs::path& path, std::size_t limit) {
    const std::optional<Place> place = placeOf(root, path);
    if (!place)
        return std::nullopt;
    // A device is never even opened: opening some has effects of their own.
    const std::optional<struct stat> look = lookAt(*place, path);
    if (!look)
        return std::nullopt;
    if (!S_ISREG(look->st_mode))
        refuseFileKind(path, posix::kindOf(look->st_mode));
    // Non-blocking and not following: whatever was put in the file's place since the look is
    // refused by the open or by the read's own check of what it opened.
    UniqueFd fd(
        ::openat(place->folder.get(), place->name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT)
            return std::nullopt;
        if (errno == ELOOP)
            refuseFileKind(path, FileKind::Link);
        throwFileError(path, errno);
    }
    return posix::readOpened(std::move(fd), path, limit);
}

void replaceOwnFile(const fs::path& root, const fs::path& path, std::string_view bytes) {
    const std::optional<Place> place = placeOf(root, path);
    if (!place)
        throwFileError(path, ENOENT);
    const std::optional<struct stat> old = lookAt(*place, path);
    if (old && !S_ISREG(old->st_mode))
        refuseFileKind(path, posix::kindOf(old->st_mode));
    posix::replaceIn(place->folder.get(), place->name, old ? &*old : nullptr, bytes, path);
}

} // namespace tallowby::os
