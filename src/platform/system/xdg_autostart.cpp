#include "platform/system/xdg_autostart.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/system/desktop_entry.h"
#include "platform/system/fd_write.h"
#include "platform/system/private_folders.h"
#include "store/text_file.h"

namespace tallowby::platform {
XdgAutoStart::XdgAutoStart(std::filesystem::path autostartFolder, const std::filesystem::path& program,
                           bool userFolder)
    : autostartFolder_(std::move(autostartFolder)), userFolder_(userFolder) {
    // A relative path would give an entry that only works from one working folder.
    std::error_code error;
    program_ = std::filesystem::absolute(program, error);
    if (error) {
        program_ = program;
    }
}

std::filesystem::path XdgAutoStart::entryFile() const {
    return autostartFolder_ / kAutostartEntryName;
}

bool XdgAutoStart::makeFolder() const {
    if (userFolder_) {
        try {
            makePrivateFolders(autostartFolder_);
        } catch (const store::FileError&) {
            return false;
        }
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(autostartFolder_, error);
    return true; // the open below tells whether the folder is there
}

bool XdgAutoStart::AddAutoStart() {
    // No folder at all (a user without a home): an entry named alone would land in the working folder.
    if (autostartFolder_.empty() || !makeFolder()) {
        return false;
    }
    const std::filesystem::path file = entryFile();
    // O_EXCL keeps any entry already there, even one written between a check and the write;
    // O_NOFOLLOW keeps a planted link from redirecting the write.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        return errno == EEXIST;
    }
    // Every user's session reads the machine-wide folder, whatever umask the writer had; the user's
    // own entry is as readable as any other file of the user's.
    ::fchmod(fd, 0644);
    const bool written = writeAll(fd, autostartDesktopEntry(program_));
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        // A half-written entry would be kept by every later Add.
        ::unlink(file.c_str());
        return false;
    }
    return true;
}

bool XdgAutoStart::DelAutoStart() {
    if (autostartFolder_.empty()) {
        return true;
    }
    const std::filesystem::path file = entryFile();
    // No entry can be there when the file or one of its folders is missing.
    return ::unlink(file.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}

} // namespace tallowby::platform
