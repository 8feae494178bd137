#pragma once
// Win32 failures told in the errno words the Linux build uses, so a message reads the same on both.
#include <filesystem>

namespace tallowby::os::windows {

// The errno value closest to a GetLastError() code (EIO for one without a counterpart).
int errnoFromWin32(unsigned long error);

// Throws FileError for the calling thread's last Win32 error.
[[noreturn]] void throwLastError(const std::filesystem::path& path);

} // namespace tallowby::os::windows
