#include "platform/windows/run_key_autostart.h"

#include <windows.h>

namespace tallowby::platform::windows {
namespace {

// Closes the key when it goes out of scope.
struct RunKey {
    HKEY key = nullptr;
    RunKey(HKEY root, REGSAM access) {
        if (::RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS)
            key = nullptr;
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    ~RunKey() {
        if (key != nullptr)
            ::RegCloseKey(key);
    }
};

} // namespace

bool RunKeyAutoStart::AddAutoStart() {
    const RunKey run(root_, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (run.key == nullptr)
        return false;
    if (::RegQueryValueExW(run.key, name_.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        return true; // an entry of the user's own stays as it is
    // Quoted, as a path with blanks ("C:\Program Files\...") would otherwise start another program.
    const std::wstring command = L"\"" + program_.wstring() + L"\"";
    return ::RegSetValueExW(run.key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RunKeyAutoStart::DelAutoStart() {
    // The user's own key too, where an ordinary user's start of the program put the entry: unticked
    // by an administrator, Tallowby must not go on starting at this user's log-on.
    bool removed = true;
    for (const HKEY root : {root_, HKEY_CURRENT_USER}) {
        const RunKey run(root, KEY_SET_VALUE);
        const LSTATUS status =
            run.key != nullptr ? ::RegDeleteValueW(run.key, name_.c_str()) : ERROR_ACCESS_DENIED;
        removed = removed && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
        if (root_ == HKEY_CURRENT_USER)
            break;
    }
    return removed;
}

} // namespace tallowby::platform::windows
