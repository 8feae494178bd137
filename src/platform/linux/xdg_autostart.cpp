#include "platform/linux/xdg_autostart.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "os/files.h"
#include "platform/linux/desktop_entry.h"

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
            os::makePrivateFolders(autostartFolder_);
        } catch (const os::FileError&) {
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
    // An exclusive creation keeps any entry already there, even one written between a check and the
    // write, and follows no planted link. Every user's session reads the machine-wide folder,
    // whatever umask the writer had; the user's own entry is as readable as any other file of the
    // user's.
    os::UniqueFd fd;
    try {
        fd = os::createExclusive(file, os::NewFileMode::ReadableByAll);
    } catch (const os::FileError& error) {
        return error.code() == EEXIST;
    }
    try {
        os::writeAll(fd.get(), autostartDesktopEntry(program_), file);
        if (const int error = fd.closeChecked())
            os::throwFileError(file, error);
    } catch (const os::FileError&) {
        // A half-written entry would be kept by every later Add.
        os::removeFile(file);
        return false;
    }
    return true;
}

bool XdgAutoStart::DelAutoStart() {
    if (autostartFolder_.empty()) {
        return true;
    }
    return os::removeFile(entryFile()) == 0;
}

} // namespace tallowby::platform
