#include "platform/windows/startup_script_autostart.h"

#include <cerrno>

#include "os/files.h"
#include "os/path_text.h"

namespace tallowby::platform::windows {

bool StartupScriptAutoStart::AddAutoStart() {
    try {
        os::makePrivateFolders(folder_);
        // An entry already there is kept, whatever it starts.
        os::UniqueFd fd = os::createExclusive(script());
        // cmd reads the script in the console's code page: UTF-8 once chcp says so.
        os::writeAll(fd.get(), "@chcp 65001 >nul\r\n@start \"\" \"" + os::utf8Of(program_) + "\"\r\n",
                     script());
        os::syncAndClose(fd, script());
    } catch (const os::FileError& error) {
        return error.code() == EEXIST;
    }
    return true;
}

bool StartupScriptAutoStart::DelAutoStart() {
    return os::removeFile(script()) == 0;
}

} // namespace tallowby::platform::windows
