// Profiles made and switched through the sandbox program's window: a new profile gets its three
// files, and choosing it as the default switches the program to it.
#include "accessible_desktop.h"
#include "support/file_bytes.h"

namespace tallowby::e2e {
namespace {

using ProfilesTest = AccessibleDesktopTest;

TEST_F(ProfilesTest, ANewProfileIsMadeAndTheProgramSwitchesToIt) {
    sandbox.configure({}, {});
    startAccessible(kMonday10);
    ASSERT_TRUE(drive({
        "click:Tallowby/Stop",
        "click:Tallowby/Profile",
        "click:Profiles/Add",
        "type:New name/text#1=  Home ",
        "click:New name/OK",
        "click:Profiles/Home",
        "click:Profiles/Set defualt",
        "click:Profiles/Exit",
        "closed:Profiles",
        "holds:Tallowby/Profile/label#1=Home",
    })) << "the driver could not carry out every step";

    const auto folder = sandbox.folder();
    EXPECT_EQ(testsupport::readFile(folder / "profiles.db"), "Work\r\nHome\r\n");
    EXPECT_EQ(testsupport::readFile(folder / "config.db").substr(0, 6), "Home\r\n");
    EXPECT_EQ(profileFile("Home"), "0000000\r\n0\r\n\r\n\r\n");
    EXPECT_EQ(profileFile("Home.db"), "");
    EXPECT_EQ(profileFile("Home.rem"), "0000000\r\n22:30\r\n1\r\n1\r\n1\r\n");
}

} // namespace
} // namespace tallowby::e2e
