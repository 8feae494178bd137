#pragma once
// A program a Windows test starts; ended when the test is done with it, if it still runs. Tests
// act on no process but these.
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/process_list.h"

namespace tallowby::testsupport {

class StartedProgram {
  public:
    StartedProgram(const std::filesystem::path& program, const std::wstring& arguments);
    // A copy of test_program.exe with the arguments, started by another run of that copy that ends
    // at once, so that no running process of the test is its parent.
    static StartedProgram detached(const std::filesystem::path& copy, const std::wstring& arguments);
    StartedProgram(StartedProgram&& other) noexcept
        : process_(std::exchange(other.process_, nullptr)), pid_(other.pid_) {}
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram();

    platform::ProcessId pid() const { return pid_; }
    // Whether it ended within the time; exitCode() is then its exit code.
    bool ended(std::chrono::milliseconds within);
    unsigned long exitCode() const;

  private:
    StartedProgram(void* process, platform::ProcessId pid) : process_(process), pid_(pid) {}
    void* process_ = nullptr;
    platform::ProcessId pid_ = 0;
};

// The test programs' folder's test_program.exe (see test_program.cpp).
std::filesystem::path testProgram();
// A program of the system folder, such as taskmgr.exe.
std::filesystem::path systemProgram(const wchar_t* name);

} // namespace tallowby::testsupport
