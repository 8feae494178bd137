#pragma once
// The scene of every end-to-end test: a private display with a window manager, test programs under
// chosen executable names, and a private copy of the sandbox program to start on that display.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "sandbox_program.h"
#include "support/test_window.h"
#include "support/x_probe.h"
#include "support/x_session.h"

namespace tallowby::e2e {

inline constexpr std::uint32_t kNormalState = 1;
inline constexpr std::uint32_t kIconicState = 3;

class SandboxDesktopTest : public ::testing::Test {
  protected:
    explicit SandboxDesktopTest(const testsupport::XSessionOptions& options = {});

    // A test program running under the executable name `exe`, its window managed and normal.
    testsupport::TestWindow open(const std::string& exe, const std::string& title);

    void startProgram(const std::string& wallClock);
    // The program's main window once it is shown (fails the test when it is not, in time).
    std::uint32_t programWindow();

    // Waits until the hosts file holds exactly `expected`; a failure shows what it holds.
    void expectHosts(const std::string& expected);

    bool normal(std::uint32_t window) { return probe.wmState(window) == kNormalState; }
    bool iconic(std::uint32_t window) { return probe.wmState(window) == kIconicState; }

    // A program that ended by itself crashed: every test ends with it still running, unless it
    // took `program` over.
    void TearDown() override;

    testsupport::XSession session;
    testsupport::XProbe probe;
    testsupport::ProgramCopies programs;
    SandboxProgram sandbox;
    std::optional<testsupport::ChildProcess> program;
};

} // namespace tallowby::e2e
