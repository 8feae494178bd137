#pragma once
// A private X display for one test or benchmark: Xvfb on a free display number, optionally openbox
// as window manager and trayer as notification-area host. Everything is stopped and reaped when the
// session goes, so tests that each own a session can run in parallel.
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace tallowby::testsupport {

struct XSessionOptions {
    bool windowManager = true; // openbox
    bool trayHost = false;     // trayer (needs the window manager)
    std::string screen = "1280x1024x24";
};

class XSession {
  public:
    // Returns once the server answers, the window manager manages the screen and the tray host owns
    // the tray selection. Throws std::runtime_error when any of them does not come up in time.
    explicit XSession(const XSessionOptions& options = {});
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // ":N"
    const std::string& display() const { return display_; }
    pid_t serverPid() const { return server_->pid(); }
    // The DISPLAY variable for children of the test.
    std::pair<std::string, std::string> displayVariable() const { return {"DISPLAY", display_}; }
    // Points this process's own DISPLAY at the session, for code that reads $DISPLAY.
    void exportDisplay() const;

    // Starts a program on this display.
    ChildProcess start(const std::filesystem::path& program, const std::vector<std::string>& args,
                       SpawnOptions options = {}) const;

  private:
    std::optional<ChildProcess> server_;
    std::optional<ChildProcess> windowManager_;
    std::optional<ChildProcess> trayHost_;
    std::string display_;
};

} // namespace tallowby::testsupport
