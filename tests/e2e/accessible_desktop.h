#pragma once
// The sandbox program reachable over the accessibility bus, so a test can work its windows as a user
// does: drive_window.py finds a control by the captions on the way to it and clicks or types with
// the real mouse and keyboard.
#include <optional>
#include <string>
#include <vector>

#include "sandbox_desktop_test.h"
#include "support/temp_folder.h"

namespace tallowby::e2e {

class AccessibleDesktopTest : public SandboxDesktopTest {
  protected:
    // Starts the program at the moved wall clock on a session bus of the test's own with the
    // accessibility bus on it, and waits for its main window.
    void startAccessible(const std::string& wallClock);
    // Carries out the steps in the program's windows; true when every one was done.
    bool drive(const std::vector<std::string>& steps);
    // The program ends at once, as at a power cut, leaving its buses to a later start.
    void killProgram();
    void TearDown() override;

    std::string profileFile(const std::string& name) const;

  private:
    testsupport::TempFolder busFolder_;
    std::string busAddress_;
    std::optional<testsupport::ChildProcess> bus_;
    std::optional<testsupport::ChildProcess> accessibility_;
};

} // namespace tallowby::e2e
