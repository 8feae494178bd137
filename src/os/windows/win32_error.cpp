#include "os/windows/win32_error.h"

#include <cerrno>
#include <utility>
#include <windows.h>

#include "os/file_error.h"

namespace tallowby::os::windows {

int errnoFromWin32(unsigned long error) {
    static constexpr std::pair<unsigned long, int> kErrors[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT},
        {ERROR_PATH_NOT_FOUND, ENOENT},
        {ERROR_INVALID_DRIVE, ENOENT},
        {ERROR_BAD_NETPATH, ENOENT},
        {ERROR_BAD_PATHNAME, ENOENT},
        {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_SHARING_VIOLATION, EACCES},
        {ERROR_LOCK_VIOLATION, EACCES},
        {ERROR_NETWORK_ACCESS_DENIED, EACCES},
        {ERROR_PRIVILEGE_NOT_HELD, EPERM},
        {ERROR_FILE_EXISTS, EEXIST},
        {ERROR_ALREADY_EXISTS, EEXIST},
        {ERROR_DISK_FULL, ENOSPC},
        {ERROR_HANDLE_DISK_FULL, ENOSPC},
        {ERROR_WRITE_PROTECT, EROFS},
        {ERROR_NOT_SAME_DEVICE, EXDEV},
        {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},
        {ERROR_DIRECTORY, ENOTDIR},
        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
        {ERROR_INVALID_NAME, EINVAL},
        {ERROR_INVALID_PARAMETER, EINVAL},
        {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
        {ERROR_OUTOFMEMORY, ENOMEM},
        {ERROR_TOO_MANY_OPEN_FILES, EMFILE},
        {ERROR_TOO_MANY_LINKS, EMLINK},
        {ERROR_NOT_SUPPORTED, EOPNOTSUPP},
        {ERROR_INVALID_FUNCTION, EOPNOTSUPP},
        {ERROR_BROKEN_PIPE, EPIPE},
        {ERROR_NO_DATA, EPIPE},
        {ERROR_CANT_RESOLVE_FILENAME, ELOOP},
    };
    for (const auto& [win32, posix] : kErrors) {
        if (win32 == error)
            return posix;
    }
    return EIO;
}

void throwLastError(const std::filesystem::path& path) {
    throwFileError(path, errnoFromWin32(::GetLastError()));
}

} // namespace tallowby::os::windows
