// Whole-file replacement that never leaves a half-written file behind: the new contents go to a
// temporary file in the same folder, written through to the disk, which then takes the old file's
// place in one step. ReplaceFileW keeps the replaced file's attributes and access list, as the
// Linux build keeps its owner and mode.
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <windows.h>

#include "os/files.h"
#include "os/path_text.h"
#include "os/replace_file.h"
#include "os/temporary_name.h"
#include "os/windows/file_handle.h"
#include "os/windows/win32_error.h"

namespace tallowby::os {
namespace {

namespace fs = std::filesystem;
using windows::openFile;
using windows::throwLastError;
using windows::UniqueHandle;

// A link is followed, so the link itself stays a link and the file it names gets the new contents.
fs::path resolveLink(const fs::path& path) {
    const std::optional<FileInfo> look = fileInfo(path, Links::NotFollowed);
    if (!look || look->kind != FileKind::Link)
        return path;
    std::error_code error;
    fs::path target = fs::canonical(path, error);
    return error ? path : target;
}

std::string randomSuffix() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string suffix;
    std::uint64_t bits = random();
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i, bits /= 62)
        suffix += kChars[bits % 62];
    return suffix;
}

// The temporary file; removed again unless it took the old file's place.
class TempFile {
  public:
    TempFile(const fs::path& folder, const std::string& name, const fs::path& reported) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = folder / pathFromUtf8(temporaryName(name, randomSuffix()));
            UniqueHandle handle =
                openFile(path_, {GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH,
                                 Links::NotFollowed});
            if (handle.valid()) {
                fd_ = windows::toDescriptor(std::move(handle), _O_WRONLY, reported);
                return;
            }
            if (const DWORD error = ::GetLastError();
                error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                throwLastError(reported);
        }
        throwFileError(reported, EEXIST);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        fd_.closeChecked();
        if (!placed_)
            ::DeleteFileW(path_.c_str());
    }

    int fd() const { return fd_.get(); }
    const fs::path& path() const { return path_; }
    void syncAndClose(const fs::path& reported) { os::syncAndClose(fd_, reported); }
    void markPlaced() { placed_ = true; }

  private:
    fs::path path_;
    UniqueFd fd_;
    bool placed_ = false;
};

// Puts the temporary file in the target's place; false with GetLastError() set when it stayed.
bool takePlace(const fs::path& temporary, const fs::path& target, bool replacing) {
    if (replacing && ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    // No file to replace (or it went meanwhile): a plain move, flushed before it returns.
    if (replacing && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    return ::MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

} // namespace

namespace {

bool replace(const fs::path& path, std::string_view bytes, const FileStamp* expected) {
    const fs::path target = resolveLink(path);
    const std::string name = utf8Of(target.filename());
    if (name.empty() || name == "." || name == "..")
        throwFileError(path, EISDIR);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    const std::optional<FileInfo> old = fileInfo(target, Links::Follow);
    if (old && old->kind == FileKind::Folder)
        throwFileError(path, EISDIR);
    if (expected != nullptr && !old)
        return false;

    // A file another program holds open without letting it be deleted (as a resolver may hold the
    // hosts file) cannot be replaced, only rewritten where it is: Windows' counterpart of a mount
    // point on Linux. Asked first, as a failed ReplaceFileW may leave a file of its own behind.
    if (old && !openFile(target, {DELETE, OPEN_EXISTING}).valid() &&
        ::GetLastError() == ERROR_SHARING_VIOLATION) {
        if (expected != nullptr)
            throwFileError(path, EBUSY);
        rewriteFileInPlace(target, bytes);
        return true;
    }
    TempFile temp(folder, name, path);
    writeAll(temp.fd(), bytes, path);
    temp.syncAndClose(path);
    // ReplaceFileW passes the old file's attributes on, Wine's does not: they are given here (a
    // hidden hosts file stays hidden). Read-only is not among them: such a file is not replaced.
    if (const DWORD attributes = ::GetFileAttributesW(target.c_str());
        old && attributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(temp.path().c_str(),
                             attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                           FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    // Windows swaps no two names in one step: the file is looked at just before it is replaced.
    if (expected != nullptr && fileStamp(target) != *expected)
        return false;
    if (!takePlace(temp.path(), target, old.has_value())) {
        const DWORD error = ::GetLastError();
        // Held open so since the question above: rewritten in place all the same.
        if (error != ERROR_UNABLE_TO_REMOVE_REPLACED && error != ERROR_SHARING_VIOLATION)
            throwFileError(path, windows::errnoFromWin32(error));
        if (expected != nullptr)
            throwFileError(path, EBUSY);
        rewriteFileInPlace(target, bytes);
        return true;
    }
    temp.markPlaced();
    return true;
}

} // namespace

bool detail::replaceFile(const fs::path& path, std::string_view bytes, const FileStamp* expected) {
    return replace(path, bytes, expected);
}

void rewriteFileInPlace(const fs::path& path, std::string_view bytes) {
    UniqueHandle handle = openFile(
        path, {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_WRITE_THROUGH, Links::NotFollowed});
    if (!handle.valid())
        throwLastError(path);
    const std::optional<FileInfo> info = windows::handleInfo(handle.get(), Links::NotFollowed);
    if (!info)
        throwLastError(path);
    if (info->kind != FileKind::Regular)
        throw FileError(path, "it is not a regular file");
    // As on Linux: the new bytes and NUL filler over the old ones in one write, then the cut, so a
    // write cut short never leaves old lines after new ones.
    std::string covering(bytes);
    if (const auto oldSize = static_cast<std::size_t>(info->stamp.size); oldSize > covering.size())
        covering.append(oldSize - covering.size(), '\0');
    UniqueFd fd = windows::toDescriptor(std::move(handle), _O_RDWR, path);
    writeAll(fd.get(), covering, path);
    if (const int error = ::_chsize_s(fd.get(), static_cast<long long>(bytes.size())))
        throwFileError(path, error);
    syncAndClose(fd, path);
}

} // namespace tallowby::os
