#include "accessible_desktop.h"

#include <sys/wait.h>

#include "support/file_bytes.h"
#include "support/wait_until.h"

namespace tallowby::e2e {

using namespace std::chrono_literals;
using testsupport::waitUntil;

void AccessibleDesktopTest::startAccessible(const std::string& wallClock) {
    if (!bus_) {
        const std::filesystem::path socket = busFolder_ / "bus";
        busAddress_ = "unix:path=" + socket.string();
        bus_.emplace(session.start("dbus-daemon",
                                   {"--session", "--address=" + busAddress_, "--nofork", "--nopidfile"}));
        ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(socket); }, 10s)) << "no session bus";
        // The accessibility bus keeps its socket in the runtime folder: the test's own, not the user's.
        accessibility_.emplace(
            session.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"},
                          {.environment = {{"DBUS_SESSION_BUS_ADDRESS", busAddress_},
                                           {"XDG_RUNTIME_DIR", busFolder_.path().string()}}}));
    }
    testsupport::SpawnOptions options = sandbox.environment(wallClock);
    options.environment.emplace_back("DBUS_SESSION_BUS_ADDRESS", busAddress_);
    options.environment.emplace_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    program.emplace(session.start(sandbox.executable(), {}, options));
    programWindow();
}

bool AccessibleDesktopTest::drive(const std::vector<std::string>& steps) {
    std::vector<std::string> args{TALLOWBY_E2E_DRIVER, "Tallowby"};
    args.insert(args.end(), steps.begin(), steps.end());
    auto driver =
        session.start("/usr/bin/python3", args,
                      {.environment = {{"DBUS_SESSION_BUS_ADDRESS", busAddress_}}, .keepStderr = true});
    const auto status = driver.waitForExit(120s);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

void AccessibleDesktopTest::killProgram() {
    program.reset();
}

void AccessibleDesktopTest::TearDown() {
    SandboxDesktopTest::TearDown();
    // The launcher ends the accessibility bus it started only when asked to end.
    if (accessibility_)
        accessibility_->stop();
}

std::string AccessibleDesktopTest::profileFile(const std::string& name) const {
    return testsupport::readFile(sandbox.folder() / "profiles" / name);
}

} // namespace tallowby::e2e
