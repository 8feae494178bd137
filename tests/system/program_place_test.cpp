// Which kind of program runs and where its data lives, decided from the files around its executable
// and the user's folders, both made up in a temporary folder.
#include <gtest/gtest.h>

#include "platform/system/program_place.h"
#include "platform/system/system_paths.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

// Every path of a case is named relative to the test's folder; "" is no path at all.
struct PlaceCase {
    const char* what;
    std::vector<std::string> besideExecutable; // a trailing "/" makes a folder
    bool installation;                         // usr/share/tallowby is there
    std::string home;
    std::string dataHome; // XDG_DATA_HOME; an absolute one is made absolute in the test's folder
    ProgramKind kind;
    std::string dataFolder;
};

class ProgramPlaceDecision : public testing::TestWithParam<PlaceCase> {
  protected:
    fs::path at(const std::string& relative) const { return relative.empty() ? fs::path{} : temp / relative; }

    test::TempFolder temp;
};

TEST_P(ProgramPlaceDecision, FollowsTheFilesAroundTheExecutable) {
    const PlaceCase& c = GetParam();
    fs::create_directories(temp / "usr" / "bin");
    test::writeFile(temp / "usr" / "bin" / "tallowby", "");
    for (const std::string& name : c.besideExecutable) {
        if (name.back() == '/')
            fs::create_directories(temp / "usr" / "bin" / name);
        else
            test::writeFile(temp / "usr" / "bin" / name, "");
    }
    if (c.installation)
        fs::create_directories(temp / "usr" / "share" / "tallowby");
    const std::string dataHome = c.dataHome.starts_with("/") ? at(c.dataHome.substr(1)).string() : c.dataHome;
    const UserFolders user{at(c.home).string(), dataHome, ""};

    const ProgramPlace place = locateProgram(temp / "usr" / "bin" / "tallowby", user);
    EXPECT_EQ(place.kind, c.kind);
    EXPECT_EQ(place.dataFolder, at(c.dataFolder));
    EXPECT_EQ(place.defaultsFolder,
              c.kind == ProgramKind::Installed ? temp / "usr/share/tallowby" : fs::path{});
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ProgramPlaceDecision,
    testing::Values(
        PlaceCase{"BuildFolder",
                  {"config.db", "tallowby_start"},
                  false,
                  "home",
                  "",
                  ProgramKind::Folder,
                  "usr/bin"},
        PlaceCase{"DataFilesWinOverAnInstallation",
                  {"profiles.db"},
                  true,
                  "home",
                  "",
                  ProgramKind::Folder,
                  "usr/bin"},
        PlaceCase{
            "AProfilesFolderIsDataToo", {"profiles/"}, true, "home", "", ProgramKind::Folder, "usr/bin"},
        PlaceCase{"BareExecutable", {}, false, "home", "", ProgramKind::Folder, "usr/bin"},
        PlaceCase{"Installed",
                  {"other-program", "tallowby-hosts"},
                  true,
                  "home",
                  "",
                  ProgramKind::Installed,
                  "home/.local/share/tallowby"},
        PlaceCase{"InstalledWithXdgDataHome",
                  {},
                  true,
                  "home",
                  "/xdg data",
                  ProgramKind::Installed,
                  "xdg data/tallowby"},
        PlaceCase{"ARelativeXdgDataHomeIsIgnored",
                  {},
                  true,
                  "home",
                  "relative/data",
                  ProgramKind::Installed,
                  "home/.local/share/tallowby"},
        PlaceCase{"XdgDataHomeWithoutHome", {}, true, "", "/xdg", ProgramKind::Installed, "xdg/tallowby"},
        PlaceCase{"InstalledWithoutAnyHome", {}, true, "", "", ProgramKind::Installed, ""}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return info.param.what; });

TEST(ProgramPlace, AProgramInAProgramFilesFolderIsInstalledWithItsOwnFolderAsTheDefaults) {
    test::TempFolder temp;
    const fs::path folder = temp / "Program Files" / "Tallowby";
    fs::create_directories(folder / "profiles");
    test::writeFile(folder / "config.db", ""); // the installation's defaults, not the user's files
    UserFolders user{(temp / "home").string(), (temp / "appdata").string(), ""};
    user.programFiles = {(temp / "PROGRAM FILES/").string(), ""};
    const ProgramPlace place = locateProgram(folder / "tallowby", user);
    EXPECT_EQ(place.kind, ProgramKind::Installed);
    EXPECT_EQ(place.defaultsFolder, folder);
    EXPECT_EQ(place.dataFolder, temp / "appdata" / kDataFolderName);

    // Only what lies inside: a folder whose name merely begins the same is not.
    const struct {
        const char* folder;
        bool inside;
    } cases[] = {{"/opt/Program Files/x", true},
                 {"/opt/program files", true},
                 {"/opt/Program Files2/x", false},
                 {"/opt", false},
                 {"/opt/Program Files/../x", false}};
    for (const auto& c : cases)
        EXPECT_EQ(isInside(c.folder, {"/opt/Program Files"}), c.inside) << c.folder;
}

TEST(UserFolders, ConfigFolderFollowsTheSameRulesAsTheDataFolder) {
    EXPECT_EQ((UserFolders{"/home/ann", "", "/cfg"}).configFolder(), "/cfg");
    EXPECT_EQ((UserFolders{"/home/ann", "", "cfg"}).configFolder(), "/home/ann/.config");
    EXPECT_EQ((UserFolders{"/home/ann", "", ""}).configFolder(), "/home/ann/.config");
    EXPECT_EQ((UserFolders{"relative/home", "", ""}).configFolder(), fs::path{});
}

TEST(ProgramPlace, AnInstalledProgramUsesTheInstallationsHelperAndStartsItselfAtLogOn) {
    const ProgramPlace place{ProgramKind::Installed, "/opt/x/usr/bin/tallowby",
                             "/home/ann/.local/share/tallowby", "/opt/x/usr/share/tallowby"};
    // Lexically normal: the polkit action names this path exactly.
    EXPECT_EQ(hostsHelperFor(place), "/opt/x/usr/libexec/tallowby/tallowby-hosts");
    EXPECT_EQ(autostartProgramFor(place), "/opt/x/usr/bin/tallowby");

    const SystemPaths real = SystemPaths::forPlace(place, {"/home/ann", "", ""}, false);
    EXPECT_EQ(real.hostsFile, "/etc/hosts");
    EXPECT_EQ(real.autostartFolder, "/home/ann/.config/autostart");
    EXPECT_TRUE(real.userAutostart);
    EXPECT_FALSE(real.sandbox());

    // Without a home there is no autostart folder: never one relative to the working folder.
    EXPECT_EQ(SystemPaths::forPlace(place, {"", "/xdg", ""}, false).autostartFolder, fs::path{});

    const SystemPaths sandbox = SystemPaths::forPlace(place, {"/home/ann", "", ""}, true);
    EXPECT_EQ(sandbox.hostsFile, "/home/ann/.local/share/tallowby/system/hosts");
    EXPECT_EQ(sandbox.autostartFolder, "/home/ann/.local/share/tallowby/system/autostart");
    EXPECT_FALSE(sandbox.userAutostart);
}

TEST(ProgramPlace, AFolderBuildKeepsTheMachinesAutostartAndFindsAHelperOnlyBesideItself) {
    test::TempFolder temp;
    const ProgramPlace place{ProgramKind::Folder, temp / "tallowby", temp.path(), {}};
    EXPECT_EQ(hostsHelperFor(place), fs::path{});
    test::writeFile(temp / "tallowby-hosts", "");
    EXPECT_EQ(hostsHelperFor(place), temp / "tallowby-hosts");
    EXPECT_EQ(autostartProgramFor(place), temp / "tallowby_start");

    const SystemPaths real = SystemPaths::forPlace(place, {"/home/ann", "", "/cfg"}, false);
    EXPECT_EQ(real.autostartFolder, "/etc/xdg/autostart");
    EXPECT_FALSE(real.userAutostart);
}

} // namespace
} // namespace tallowby::platform
