#include "platform/windows/system_folder.h"

#include <string>
#include <windows.h>

namespace tallowby::platform::windows {

std::filesystem::path systemFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) { // too small: length is the size it needs
        folder.resize(length);
        length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (length == 0 || length >= folder.size())
        return {};
    folder.resize(length);
    return folder;
}

std::filesystem::path systemHostsFile() {
    const std::filesystem::path folder = systemFolder();
    return folder.empty() ? folder : folder / L"drivers" / L"etc" / L"hosts";
}

} // namespace tallowby::platform::windows
