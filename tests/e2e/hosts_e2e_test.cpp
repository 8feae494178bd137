// The hosts file as the real program leaves it: its block of blocked sites between the markers,
// the file's own lines untouched.
#include "sandbox_desktop_test.h"
#include "support/file_bytes.h"
#include "support/wait_until.h"

#include <sys/stat.h>

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::waitUntil;

class HostsTest : public SandboxDesktopTest {
  protected:
    void expectReadableByEveryone() {
        struct stat info {};
        ASSERT_EQ(::stat(sandbox.hostsFile().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0444, 0444u) << "every user's resolver reads the hosts file";
    }
};

TEST_F(HostsTest, CurrentSessionBlocksItsSitesThenTheWholeDaySites) {
    sandbox.configure({}, {.sessions = {{"09:00", "12:00", kMondayOnly, kFocusMode, "notepad.exe;",
                                         "news.example;video.example;"}},
                           .wholeDay = {kMondayOnly, kBlockMode, "", "chat.example;"}});
    startProgram(kMonday10);

    expectHosts(hostsWithBlock({"news.example", "video.example", "chat.example"}));
    expectReadableByEveryone();
}

TEST_F(HostsTest, OutsideSessionsOnlyTheWholeDaySitesOfTodayAreBlocked) {
    sandbox.configure({}, {.sessions = {{"09:00", "12:00", kMondayOnly, kBlockMode, "", "news.example;"}},
                           .wholeDay = {kMondayOnly, kBlockMode, "game.exe;", "chat.example;shop.example;"}});
    auto game = open("game.exe", "Game");
    startProgram(kMonday13);

    expectHosts(hostsWithBlock({"chat.example", "shop.example"}));
    // Once the rules have visibly run, the ticks outside the session have left the file as it was.
    ASSERT_TRUE(waitUntil([&] { return iconic(game.window()); }, 20s));
    EXPECT_EQ(sandbox.hosts(), hostsWithBlock({"chat.example", "shop.example"}));
}

TEST_F(HostsTest, MidnightBringsTheNewDaysWholeDayWebsitesAndAHandEditIsPutRight) {
    sandbox.configure({}, {.wholeDay = {kTuesdayOnly, kBlockMode, "", "social.example;"}});
    // Far enough from midnight for a start on a busy machine to show Monday first.
    startProgram("2026-12-07 23:59:30"); // Monday night
    programWindow();
    EXPECT_EQ(sandbox.hosts(), kOwnHostsLines) << "nothing to block, and no block to lift";
    // Tuesday has begun.
    EXPECT_TRUE(waitUntil([&] { return sandbox.hosts() == hostsWithBlock({"social.example"}); }, 45s))
        << sandbox.hosts();

    sandbox.writeHosts(kOwnHostsLines); // someone takes the block out
    expectHosts(hostsWithBlock({"social.example"}));
}

TEST_F(HostsTest, TheSandboxNeverFollowsItsHostsFileOutOfItsFolder) {
    sandbox.configure({}, {.wholeDay = {kMondayOnly, kBlockMode, "game.exe;", "chat.example;"}});
    const std::filesystem::path outside = sandbox.folder().parent_path() / "outside-hosts";
    testsupport::writeFile(outside, "127.0.0.1 localhost\n");
    std::filesystem::remove(sandbox.hostsFile());
    std::filesystem::create_symlink(outside, sandbox.hostsFile());
    auto game = open("game.exe", "Game");
    startProgram(kMonday13);
    // Once the rules have visibly run, the hosts file has been tried and refused.
    ASSERT_TRUE(waitUntil([&] { return iconic(game.window()); }, 20s));
    EXPECT_EQ(testsupport::readFile(outside), "127.0.0.1 localhost\n");
    EXPECT_TRUE(std::filesystem::is_symlink(sandbox.hostsFile()));
}

} // namespace
} // namespace tallowby::e2e
