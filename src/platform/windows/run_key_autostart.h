#pragma once
// "Start with Windows": a value under the user's Run key, which Windows reads at every log-on of
// this user. No rights beyond the user's own are needed.
#include <filesystem>
#include <string>

#include "platform/autostart.h"

namespace tallowby::platform::windows {

// HKEY_CURRENT_USER\<kRunKey>
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class RunKeyAutoStart : public AutoStart {
  public:
    // name: the value's name (the program's title); program: the executable the log-on starts.
    RunKeyAutoStart(std::wstring name, std::filesystem::path program)
        : name_(std::move(name)), program_(std::move(program)) {}
    bool AddAutoStart() override;
    bool DelAutoStart() override;

  private:
    std::wstring name_;
    std::filesystem::path program_;
};

} // namespace tallowby::platform::windows
