// The program's own files on Windows: every folder between the root and the file is looked at for a
// reparse point (a symbolic link or a junction) before the file itself is opened without following
// one (FILE_FLAG_OPEN_REPARSE_POINT), so a link on the way or in the file's place is refused, never
// followed, as on Linux.
#include <algorithm>
#include <cerrno>
#include <vector>
#include <windows.h>

#include "os/files.h"
#include "os/path_text.h"

namespace tallowby::os {
namespace {

namespace fs = std::filesystem;

// false when a folder on the way is missing or is a file (the path then names no file); throws for a
// link on the way.
bool foldersOnTheWay(const fs::path& root, const fs::path& path) {
    const fs::path base = root.empty() ? path.parent_path() : root;
    const fs::path relative = path.lexically_normal().lexically_relative(base.lexically_normal());
    std::vector<fs::path> steps(relative.begin(), relative.end());
    // A path that ends in a separator names a folder.
    if (!steps.empty() && (steps.back().empty() || steps.back() == L"."))
        refuseFileKind(path, FileKind::Folder);
    if (steps.empty() || std::ranges::find(steps, fs::path(L"..")) != steps.end())
        throw FileError(path, "it is not a file inside " + utf8Of(base), EINVAL);
    fs::path walked = base;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        walked /= steps[i];
        const DWORD attributes = ::GetFileAttributesW(walked.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return false;
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            refuseFileKind(walked, FileKind::Link, FileKind::Folder);
    }
    return true;
}

} // namespace

std::optional<FileInfo> ownFileInfo(const fs::path& root, const fs::path& path) {
    if (!foldersOnTheWay(root, path))
        return std::nullopt;
    return fileInfo(path, Links::NotFollowed);
}

std::optional<RegularFile> readOwnFile(const fs::path& root, const fs::path& path, std::size_t limit) {
    if (!foldersOnTheWay(root, path))
        return std::nullopt;
    return readRegularFile(path, limit, Links::NotFollowed);
}

void replaceOwnFile(const fs::path& root, const fs::path& path, std::string_view bytes) {
    if (!foldersOnTheWay(root, path))
        throwFileError(path, ENOENT);
    if (const std::optional<FileInfo> old = fileInfo(path, Links::NotFollowed);
        old && old->kind != FileKind::Regular)
        refuseFileKind(path, old->kind);
    // Nothing in the file's place is a link by now, so the replacement follows none.
    replaceFileContents(path, bytes);
}

} // namespace tallowby::os
