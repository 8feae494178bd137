#pragma once
// Programs with windows for tests to act on: copies of testwin under chosen executable names
// (so /proc/PID/exe names them as, say, notepad.exe) and running instances of those copies.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_folder.h"
#include "support/x_session.h"

namespace tallowby::testsupport {

// The testwin program as built.
std::filesystem::path testWindowProgram();

// Copies of testwin under other names, in a private temporary folder.
class ProgramCopies {
  public:
    // The copy named `name` (made on first request).
    std::filesystem::path copyAs(const std::string& name);
    const std::filesystem::path& folder() const { return folder_.path(); }

  private:
    TempFolder folder_;
};

struct TestWindowOptions {
    bool setPid = true;
    std::uint32_t claimedPid = 0; // the process _NET_WM_PID names when set; 0 for the window's own
    bool wmNameOnly = false;
    bool dock = false;
    bool mapped = true;
    int count = 1;
};

// A running testwin (or a copy of it). The constructor returns once its windows exist and, for
// mapped windows under a window manager, once the window manager manages them in the normal state.
class TestWindow {
  public:
    TestWindow(const XSession& session, const std::filesystem::path& program, const std::string& title,
               const TestWindowOptions& options = {});

    pid_t pid() const { return process_.pid(); }
    std::uint32_t window() const { return windows_.front(); }
    const std::vector<std::uint32_t>& windows() const { return windows_; }
    ChildProcess& process() { return process_; }

  private:
    ChildProcess process_;
    std::vector<std::uint32_t> windows_;
};

} // namespace tallowby::testsupport
