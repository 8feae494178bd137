// The floor's file operations over Win32 calls, by wide path.
#include "os/files.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <windows.h>

#include "os/path_text.h"
#include "os/windows/file_handle.h"
#include "os/windows/win32_error.h"

namespace tallowby::os {
namespace {

using windows::errnoFromWin32;
using windows::openFile;
using windows::OpenRequest;
using windows::throwLastError;
using windows::UniqueHandle;

[[noreturn]] void refuseSize(const std::filesystem::path& path, std::size_t limit) {
    throw FileError(
        path, "it is larger than the " + std::to_string(limit) + " bytes a file of its kind may hold", EFBIG);
}

bool isMissing(DWORD error) {
    // A path through something that is not a folder names no file either.
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// 0 when the open that asks for the rights succeeds, else the errno that refused it.
int openError(const std::filesystem::path& path, DWORD access) {
    const UniqueHandle handle = openFile(path, {access, OPEN_EXISTING});
    return handle.valid() ? 0 : errnoFromWin32(::GetLastError());
}

} // namespace

std::optional<FileInfo> fileInfo(const std::filesystem::path& path, Links links, int* error) {
    const UniqueHandle handle =
        openFile(path, {FILE_READ_ATTRIBUTES | READ_CONTROL, OPEN_EXISTING, 0, links});
    std::optional<FileInfo> info = handle.valid() ? windows::handleInfo(handle.get(), links) : std::nullopt;
    if (!info && error != nullptr)
        *error = errnoFromWin32(::GetLastError());
    return info;
}

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
    const std::optional<FileInfo> info = fileInfo(path);
    return info ? std::optional(info->stamp) : std::nullopt;
}

std::optional<RegularFile> readRegularFile(const std::filesystem::path& path, std::size_t limit,
                                           Links links) {
    if (const std::optional<FileInfo> look = fileInfo(path, links); look && look->kind != FileKind::Regular)
        refuseFileKind(path, look->kind);
    UniqueHandle handle = openFile(path, {GENERIC_READ, OPEN_EXISTING, 0, links});
    if (!handle.valid()) {
        if (isMissing(::GetLastError()))
            return std::nullopt;
        throwLastError(path);
    }
    // What was opened, which may differ from what the look above saw.
    const std::optional<FileInfo> info = windows::handleInfo(handle.get(), links);
    if (!info)
        throwLastError(path);
    if (info->kind != FileKind::Regular)
        refuseFileKind(path, info->kind);
    if (static_cast<std::uint64_t>(info->stamp.size) > limit)
        refuseSize(path, limit);
    UniqueFd fd = windows::toDescriptor(std::move(handle), _O_RDONLY, path);
    // One byte past the limit tells a file that grew since the look above.
    std::string bytes = readAll(fd.get(), path, limit == kNoLimit ? limit : limit + 1);
    if (bytes.size() > limit)
        refuseSize(path, limit);
    return RegularFile{std::move(bytes), info->stamp};
}

UniqueFd createExclusive(const std::filesystem::path& path, NewFileMode) {
    // A new file takes the rights its folder passes on to new files; on Windows those, not a mode,
    // decide who reads it (every user reads the system folder's files).
    UniqueHandle handle =
        openFile(path, {GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, Links::NotFollowed});
    if (!handle.valid())
        throwLastError(path);
    return windows::toDescriptor(std::move(handle), _O_WRONLY, path);
}

void appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    // Append-only access: Windows puts every write at the end of the file, as O_APPEND does.
    UniqueHandle handle =
        openFile(path, {FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL});
    if (!handle.valid())
        throwLastError(path);
    UniqueFd fd = windows::toDescriptor(std::move(handle), _O_WRONLY | _O_APPEND, path);
    writeAll(fd.get(), bytes, path);
    if (const int error = fd.closeChecked())
        throwFileError(path, error);
}

LinkResult linkFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::CreateHardLinkW(to.c_str(), from.c_str(), nullptr))
        return LinkResult::Linked;
    const DWORD error = ::GetLastError();
    if (isMissing(error))
        return LinkResult::NoSource;
    // A folder has no second name on Windows either (Linux says EPERM, and the caller copies).
    const DWORD attributes = ::GetFileAttributesW(from.c_str());
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION || error == ERROR_TOO_MANY_LINKS ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
        return LinkResult::NotSupported;
    throwFileError(to, errnoFromWin32(error));
}

int removeFile(const std::filesystem::path& path) {
    if (::DeleteFileW(path.c_str()))
        return 0;
    const DWORD error = ::GetLastError();
    if (isMissing(error))
        return 0;
    // Windows refuses a folder as it refuses a file it may not delete; Linux tells them apart.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EISDIR;
    return errnoFromWin32(error);
}

std::vector<std::string> listFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(utf8Of(std::filesystem::path(name)));
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return names;
}

int accessError(const std::filesystem::path& path, Access access) {
    return openError(path, access == Access::Run ? FILE_EXECUTE : FILE_READ_DATA);
}

int folderWriteError(const std::filesystem::path& folder) {
    const std::filesystem::path checked = folder.empty() ? std::filesystem::path(".") : folder;
    const DWORD attributes = ::GetFileAttributesW(checked.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errnoFromWin32(::GetLastError());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return ENOTDIR;
    // Asking the folder for the rights to add and remove files checks its access list, and changes
    // nothing in it.
    return openError(checked, FILE_ADD_FILE | FILE_DELETE_CHILD);
}

UniqueFd lockExclusively(const std::filesystem::path& lockFile, std::chrono::milliseconds wait) {
    windows::UniqueHandle handle = windows::openFile(
        lockFile, {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, Links::NotFollowed});
    if (!handle.valid())
        windows::throwLastError(lockFile);
    const auto until = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::microseconds(200);
    OVERLAPPED whole{};
    while (
        !::LockFileEx(handle.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        if (::GetLastError() != ERROR_LOCK_VIOLATION)
            windows::throwLastError(lockFile);
        if (std::chrono::steady_clock::now() >= until)
            throw FileError(lockFile, "another program has held it for too long", EWOULDBLOCK);
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
    }
    // Closing the descriptor closes the handle, which lets the lock go.
    return windows::toDescriptor(std::move(handle), _O_RDWR, lockFile);
}

} // namespace tallowby::os
