#include "os/windows/file_handle.h"

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "os/windows/win32_error.h"

namespace tallowby::os::windows {
namespace {

// 100-nanosecond steps from 1601-01-01 (FILETIME's epoch) to 1970-01-01.
constexpr std::int64_t kUnixEpochInFileTime = 116'444'736'000'000'000;

std::int64_t nanosecondsSinceUnixEpoch(const FILETIME& time) {
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return (ticks - kUnixEpochInFileTime) * 100;
}

bool isThisUser(PSID sid) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    const bool same = ::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
                      ::EqualSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, sid);
    ::CloseHandle(token);
    return same;
}

// Whether the file's owner is this user, or a group this user acts as (files an administrator's
// elevated programs make belong to the Administrators group). The user is compared first: Wine's
// CheckTokenMembership does not count the token's own user.
bool ownedByMe(HANDLE handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                          nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    BOOL member = FALSE;
    const bool mine = owner != nullptr &&
                      (isThisUser(owner) || (::CheckTokenMembership(nullptr, owner, &member) && member));
    ::LocalFree(descriptor);
    return mine;
}

FileKind kindOf(HANDLE handle, DWORD attributes, Links links) {
    switch (::GetFileType(handle)) {
    case FILE_TYPE_CHAR:
        return FileKind::CharacterDevice;
    case FILE_TYPE_PIPE:
        return FileKind::Pipe;
    case FILE_TYPE_DISK:
        break;
    default:
        return FileKind::Other;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && links == Links::NotFollowed)
        return FileKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder : FileKind::Regular;
}

} // namespace

UniqueHandle::UniqueHandle(void* handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}

UniqueHandle::~UniqueHandle() {
    if (handle_ != nullptr)
        ::CloseHandle(handle_);
}

UniqueHandle openFile(const std::filesystem::path& path, const OpenRequest& request) {
    // Folders open only with backup semantics; a reparse point is opened itself when not followed.
    DWORD flags = request.flags | FILE_FLAG_BACKUP_SEMANTICS;
    if (request.links == Links::NotFollowed)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    return UniqueHandle(::CreateFileW(path.c_str(), request.access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      request.disposition, flags, nullptr));
}

std::optional<FileInfo> handleInfo(void* handle, Links links) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        // A device or pipe has no stamp worth telling.
        return FileInfo{kindOf(handle, 0, links), {}, false};
    }
    if (!::GetFileInformationByHandle(handle, &information))
        return std::nullopt;
    const FileStamp stamp{
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow,
        static_cast<std::int64_t>((static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) |
                                  information.nFileSizeLow),
        nanosecondsSinceUnixEpoch(information.ftLastWriteTime)};
    return FileInfo{kindOf(handle, information.dwFileAttributes, links), stamp, ownedByMe(handle)};
}

UniqueFd toDescriptor(UniqueHandle handle, int openFlags, const std::filesystem::path& path) {
    const int fd =
        ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), openFlags | _O_BINARY | _O_NOINHERIT);
    if (fd < 0)
        throwFileError(path, EMFILE);
    // The descriptor owns the handle now: closing it closes the handle.
    handle.release();
    return UniqueFd(fd);
}

} // namespace tallowby::os::windows
