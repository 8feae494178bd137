#include <algorithm>
#include <cwctype>
#include <string_view>
#include <system_error>
#include <windows.h>
// After windows.h, which it needs.
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/program_files.h"
#include "platform/windows/known_folders.h"

namespace tallowby::platform {

std::vector<std::filesystem::path> programSearchFolders() {
    std::wstring path(::GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    std::vector<std::filesystem::path> folders;
    std::wstring_view rest = path;
    while (!rest.empty()) {
        const auto separator = rest.find(L';');
        std::wstring_view entry = rest.substr(0, separator);
        // An entry may stand in quotation marks.
        if (entry.size() >= 2 && entry.front() == L'"' && entry.back() == L'"')
            entry = entry.substr(1, entry.size() - 2);
        const std::filesystem::path folder(entry);
        if (folder.is_absolute() && std::ranges::find(folders, folder) == folders.end())
            folders.push_back(folder);
        if (separator == std::wstring_view::npos)
            break;
        rest.remove_prefix(separator + 1);
    }
    return folders;
}

bool isProgramFile(const std::filesystem::path& file) {
    std::wstring extension = file.extension().wstring();
    std::ranges::transform(extension, extension.begin(), [](wchar_t c) { return ::towlower(c); });
    std::error_code error;
    return extension == L".exe" && std::filesystem::is_regular_file(file, error);
}

ProgramFileDialog programFileDialog() {
    return {windows::knownFolder(&FOLDERID_ProgramFiles), "Application file(*.exe *.EXE);;All files(*.*)"};
}

} // namespace tallowby::platform
