// A writer killed at random moments must leave the hosts file complete: either the content before
// the interrupted write or the content after it, never a truncated or mixed file.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "hosts_test_support.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "support/temp_folder.h"

namespace tallowby::platform {
namespace {

using hosts_testing::numberedSites;
using hosts_testing::readFile;

TEST(HostsFileCrash, KilledWriterLeavesOneCompleteContent) {
    testsupport::TempFolder folder;
    const auto hosts = folder.path() / "hosts";
    const std::string user = "127.0.0.1 localhost\n127.0.1.1 box\n";
    hosts_testing::writeFile(hosts, user);
    const auto small = numberedSites(1500, "a", ".example.com");
    const auto large = numberedSites(4000, "b", ".example.org");
    const std::string smallContent = user + renderHostsBlock(small, "\n");
    const std::string largeContent = user + renderHostsBlock(large, "\n");
    const HostsFile file(hosts, "\n");

    const auto start = std::chrono::steady_clock::now();
    file.write(large);
    file.write(small);
    const auto pairMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
            .count();

    RecordProperty("pair_micros", static_cast<int>(pairMicros));
    std::mt19937 random(7);
    std::uniform_int_distribution<long> delay(0, pairMicros);
    int leftLarge = 0;
    for (int round = 0; round < 250; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            for (;;) {
                file.write(large);
                file.write(small);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        const std::string content = readFile(hosts);
        if (content == largeContent)
            ++leftLarge;
        else
            ASSERT_EQ(content, smallContent) << "after round " << round;
    }
    EXPECT_GT(leftLarge, 0) << "the writer never got through a write before it was killed";

    // Killed writers may leave their temporary files beside the file; they never take its place, and
    // the next write goes through.
    file.write({"z.com"});
    EXPECT_EQ(readFile(hosts), user + renderHostsBlock({"z.com"}, "\n"));
    RecordProperty("left_large", leftLarge);
    RecordProperty("stray_files", static_cast<int>(hosts_testing::folderEntries(folder.path()).size()) - 1);
}

} // namespace
} // namespace tallowby::platform
