// The main window's tick acting through the platform: the hosts file and the window sweeps.
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "fake_enforcement.h"
#include "platform/hosts_io.h"
#include "program_folder_fixture.h"
#include "store/text_file.h"
#include "support/sim_clock.h"
#include "ui/main/untmain.h"

namespace tallowby::test {
namespace {

std::string fileText(const std::filesystem::path& path) {
    const auto lines = store::readLines(path);
    std::string text;
    for (const std::string& line : lines.value_or(store::Lines{}))
        text += line + "\n";
    return text;
}

class EnforcementTest : public testing::Test {
  protected:
    TempProgramFolder folder;
    FakeEnforcement enforcement{folder.folder() / "hosts"};
    SimClock* clock = nullptr;
    std::unique_ptr<ui::Tfrmmain> window;

    void SetUp() override {
        const auto& paths = folder.paths();
        store::writeLines(enforcement.hostsPath, {"127.0.1.1\tmybox", "::1\tlocalhost"});
        folder.write(paths.configFile(),
                     {"Work", "0", "1", "0", "0", "0", "0", "10", "0", "1", "0", "2", "0", "1"});
        folder.write(paths.profileListFile(), {"Work"});
        // Monday 09:00-12:00 in Focus mode; whole-day Block on Mondays.
        folder.write(paths.sessionFile("Work"),
                     {"09:00", "12:00", "0100000", "1", "code.exe;", "news.example;"});
        folder.write(paths.wholeDayFile("Work"), {"0100000", "0", "game.exe;", "social.example;"});

        enforcement.desktop.windows = {{1, "Editor", true, 10},
                                       {2, "Game", true, 11},
                                       {3, "Tallowby dialog", true, 12},
                                       {4, "Terminal", true, 13}};
        enforcement.ownProcess = 12;
        enforcement.desktop.processes = {{10, "code.exe"},
                                         {11, "game.exe"},
                                         {12, "tallowby"},
                                         {13, "xterm"},
                                         {14, "gnome-system-monitor"}};

        auto fixed = std::make_unique<SimClock>();
        clock = fixed.get();
        clock->set(monday(8, 0));
        window = std::make_unique<ui::Tfrmmain>(paths, enforcement.make(), std::move(fixed));
        window->timer_tofocuson->stop();
    }
};

TEST_F(EnforcementTest, StartUpWritesWholeDaySitesAndKeepsTheUsersLines) {
    EXPECT_EQ(fileText(enforcement.hostsPath),
              "127.0.1.1\tmybox\n::1\tlocalhost\n"
              "# BEGIN Tallowby blocked sites - managed by Tallowby, do not edit\n"
              "127.0.0.1       localhost\n"
              "# Tallowby sites of user " +
                  platform::hosts_io::thisUser() +
                  "\n"
                  "127.0.0.1       social.example\n"
                  "# END Tallowby blocked sites\n");
}

TEST_F(EnforcementTest, CurrentSessionBlocksSitesAndClosesWhatItDoesNotList) {
    clock->set(monday(9, 30));
    window->timer_tofocusonTimer();

    const std::string hosts = fileText(enforcement.hostsPath);
    EXPECT_NE(hosts.find("127.0.0.1       news.example\n127.0.0.1       social.example\n"),
              std::string::npos);
    EXPECT_NE(hosts.find("127.0.1.1\tmybox\n"), std::string::npos);
    // Whole-day Block closes the game; the Focus session closes the game and the terminal again,
    // and spares its own program and Tallowby's windows.
    using platform::FakePost;
    const auto close = platform::WindowCommand::Close;
    EXPECT_EQ(enforcement.desktop.posts, (std::vector<FakePost>{{2, close}, {2, close}, {4, close}}));
    // "Block Task Manager" is on.
    EXPECT_EQ(enforcement.desktop.killed, (std::vector<platform::ProcessId>{14}));
    EXPECT_EQ(window->CurrentSessionIndex, 0);
}

TEST_F(EnforcementTest, OutsideTheSessionOnlyTheWholeDayRulesAct) {
    clock->set(monday(13, 0));
    window->timer_tofocusonTimer();
    EXPECT_EQ(enforcement.desktop.posts,
              (std::vector<platform::FakePost>{{2, platform::WindowCommand::Close}}));
    EXPECT_EQ(fileText(enforcement.hostsPath).find("news.example"), std::string::npos);
}

} // namespace
} // namespace tallowby::test
