#pragma once
// "Start with Windows": a value under a Run key, which Windows reads at log-on: the machine's
// (HKEY_LOCAL_MACHINE, every user's log-on), which only an administrator may write, or the user's
// own (HKEY_CURRENT_USER), which needs no rights beyond the user's.
#include <filesystem>
#include <string>
#include <windows.h>

#include "platform/autostart.h"

namespace tallowby::platform::windows {

// <root>\<kRunKey>
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class RunKeyAutoStart : public AutoStart {
  public:
    // root: HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER; name: the value's name (the program's title);
    // program: the executable the log-on starts.
    RunKeyAutoStart(HKEY root, std::wstring name, std::filesystem::path program)
        : root_(root), name_(std::move(name)), program_(std::move(program)) {}
    bool AddAutoStart() override;
    // Removes the value under root and, for the machine's key, under the user's own too.
    bool DelAutoStart() override;

  private:
    HKEY root_;
    std::wstring name_;
    std::filesystem::path program_;
};

} // namespace tallowby::platform::windows
