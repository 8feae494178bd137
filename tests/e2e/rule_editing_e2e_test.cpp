// Rules made entirely through the window: the sandbox program is stopped, a session and whole-day
// rules are built in its real dialogs with the real mouse and keyboard, and once it runs again the
// hosts file and another program's window follow them.
#include "sandbox_desktop_test.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

#include <sys/wait.h>

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::waitUntil;

class RuleEditingTest : public SandboxDesktopTest {
  protected:
    // The program on a session bus of the test's own with the accessibility bus on it, which is
    // how the driver finds the program's controls by their captions.
    void startAccessible(const std::string& wallClock) {
        const std::filesystem::path socket = busFolder / "bus";
        busAddress = "unix:path=" + socket.string();
        bus.emplace(session.start("dbus-daemon",
                                  {"--session", "--address=" + busAddress, "--nofork", "--nopidfile"}));
        ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(socket); }, 10s)) << "no session bus";
        // The accessibility bus keeps its socket in the runtime folder: the test's own, not the user's.
        accessibility.emplace(
            session.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"},
                          {.environment = {{"DBUS_SESSION_BUS_ADDRESS", busAddress},
                                           {"XDG_RUNTIME_DIR", busFolder.path().string()}}}));
        testsupport::SpawnOptions options = sandbox.environment(wallClock);
        options.environment.emplace_back("DBUS_SESSION_BUS_ADDRESS", busAddress);
        options.environment.emplace_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        program.emplace(session.start(sandbox.executable(), {}, options));
        programWindow();
    }

    // Carries out the steps in the program's windows (see drive_window.py); true when all were done.
    bool drive(const std::vector<std::string>& steps) {
        std::vector<std::string> args{TALLOWBY_E2E_DRIVER, "Tallowby"};
        args.insert(args.end(), steps.begin(), steps.end());
        auto driver =
            session.start("/usr/bin/python3", args,
                          {.environment = {{"DBUS_SESSION_BUS_ADDRESS", busAddress}}, .keepStderr = true});
        const auto status = driver.waitForExit(120s);
        return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }

    // The launcher ends the accessibility bus it started only when asked to end.
    void TearDown() override {
        SandboxDesktopTest::TearDown();
        if (accessibility)
            accessibility->stop();
    }

    std::string profileFile(const std::string& name) const {
        return testsupport::readFile(sandbox.folder() / "profiles" / name);
    }

    testsupport::TempFolder busFolder;
    std::string busAddress;
    std::optional<testsupport::ChildProcess> bus;
    std::optional<testsupport::ChildProcess> accessibility;
};

TEST_F(RuleEditingTest, AWeekOfRulesBuiltInTheWindowIsEnforcedOnRun) {
    sandbox.configure({}, {});
    auto game = open("game", "Game");
    startAccessible(kMonday10);

    const std::string main = "click:Tallowby/";
    const std::string website = "Website to be locked";
    const std::string picker = "Add Process - Session events";
    ASSERT_TRUE(drive({
        main + "Stop",
        // 10:00, the clock's hour, to 11:00 on every day.
        main + "Session Events/Session List/Add",
        "choose:Add Session/combo box#3=11",
        "click:Add Session/OK",
        "closed:Add Session",
        main + "Session Events/Process List/Add",
        "type:" + picker + "/Process name=game",
        "click:" + picker + "/Add",
        "click:" + picker + "/OK",
        "closed:" + picker,
        main + "Session Events/Blocked Website List/Add",
        "type:" + website + "/Website name=games.example",
        "click:" + website + "/Add",
        "closed:" + website,
        main + "Whole Day Events/Week Days/Mon",
        main + "Whole Day Events/Blocked Website List/Add",
        "type:" + website + "/Website name=social.example",
        "click:" + website + "/Add",
        "closed:" + website,
        main + "Run",
    })) << "the driver could not carry out every step";

    EXPECT_EQ(profileFile("Work.db"), "10:00\r\n11:00\r\n1111111\r\n0\r\ngame;\r\ngames.example;\r\n");
    EXPECT_EQ(profileFile("Work"), "0100000\r\n0\r\n\r\nsocial.example;\r\n");
    expectHosts(hostsWithBlock({"games.example", "social.example"}));
    EXPECT_TRUE(waitUntil([&] { return iconic(game.window()); }, 20s)) << "the listed program was left alone";
}

} // namespace
} // namespace tallowby::e2e
