// Rules made entirely through the window: the sandbox program is stopped, a session and whole-day
// rules are built in its real dialogs with the real mouse and keyboard, and once it runs again the
// hosts file and another program's window follow them.
#include "accessible_desktop.h"
#include "support/wait_until.h"

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::waitUntil;

using RuleEditingTest = AccessibleDesktopTest;

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
