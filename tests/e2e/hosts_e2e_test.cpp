// The hosts file as the real program leaves it: its block of blocked sites between the markers,
// the file's own lines untouched.
#include "platform/hosts/hosts_content.h"
#include "sandbox_desktop_test.h"
#include "support/wait_until.h"

#include <sys/stat.h>

namespace tallowby::e2e {
namespace {

using namespace std::chrono_literals;
using testsupport::waitUntil;

constexpr auto kWriteDeadline = 20s;

// The file's own lines, as the test machine has them.
const std::string kOwnLines = "# Hosts of the test machine\n"
                              "127.0.0.1\tlocalhost\n"
                              "::1\tlocalhost ip6-localhost ip6-loopback\n";

// The file's own lines followed by the program's block with these sites.
std::string withBlock(const std::vector<std::string>& sites) {
    std::string text = kOwnLines;
    text += std::string(platform::kHostsBeginMarker) + "\n";
    text += "127.0.0.1       localhost\n";
    for (const std::string& site : sites) {
        text += "127.0.0.1       " + site + "\n";
    }
    text += std::string(platform::kHostsEndMarker) + "\n";
    return text;
}

class HostsTest : public SandboxDesktopTest {
  protected:
    // Waits until the file holds exactly `expected`; on failure the test shows what it holds.
    void expectHosts(const std::string& expected) {
        const bool written = waitUntil([&] { return sandbox.hosts() == expected; }, kWriteDeadline);
        EXPECT_TRUE(written) << "hosts file holds:\n" << sandbox.hosts();
    }

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

    expectHosts(withBlock({"news.example", "video.example", "chat.example"}));
    expectReadableByEveryone();
}

TEST_F(HostsTest, OutsideSessionsOnlyTheWholeDaySitesOfTodayAreBlocked) {
    sandbox.configure({}, {.sessions = {{"09:00", "12:00", kMondayOnly, kBlockMode, "", "news.example;"}},
                           .wholeDay = {kMondayOnly, kBlockMode, "game.exe;", "chat.example;shop.example;"}});
    auto game = open("game.exe", "Game");
    startProgram(kMonday13);

    expectHosts(withBlock({"chat.example", "shop.example"}));
    // Once the rules have visibly run, the ticks outside the session have left the file as it was.
    ASSERT_TRUE(waitUntil([&] { return iconic(game.window()); }, kWriteDeadline));
    EXPECT_EQ(sandbox.hosts(), withBlock({"chat.example", "shop.example"}));
}

} // namespace
} // namespace tallowby::e2e
