#include "sandbox_desktop_test.h"

#include "desktop_checks.h"
#include "support/wait_until.h"

namespace tallowby::e2e {

using namespace std::chrono_literals;
using testsupport::waitUntil;

SandboxDesktopTest::SandboxDesktopTest(const testsupport::XSessionOptions& options)
    : session(options), probe(session.display()) {}

testsupport::TestWindow SandboxDesktopTest::open(const std::string& exe, const std::string& title) {
    return testsupport::TestWindow(session, programs.copyAs(exe), title);
}

void SandboxDesktopTest::startProgram(const std::string& wallClock) {
    program.emplace(sandbox.start(session, wallClock));
}

std::uint32_t SandboxDesktopTest::programWindow() {
    std::vector<std::uint32_t> found;
    const bool shown = waitUntil(
        [&] {
            found = visibleWindowsNamed(session, "^Tallowby$");
            return found.size() == 1 && normal(found.front());
        },
        20s);
    EXPECT_TRUE(shown) << "the program's main window did not appear";
    return shown ? found.front() : 0;
}

void SandboxDesktopTest::expectHosts(const std::string& expected) {
    const bool written = waitUntil([&] { return sandbox.hosts() == expected; }, 20s);
    EXPECT_TRUE(written) << "the hosts file holds:\n" << sandbox.hosts();
}

void SandboxDesktopTest::TearDown() {
    if (program) {
        EXPECT_FALSE(program->hasExited()) << "the program ended by itself";
    }
}

} // namespace tallowby::e2e
