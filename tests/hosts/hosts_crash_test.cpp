// A writer killed at random moments, or between any two of its system calls, must leave the hosts
// file complete: the content before the interrupted write or the content after it, never a truncated
// or mixed file. Only a rewrite in place may leave filler after the new content, which the resolver
// and the next rendering read as nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <random>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "hosts_test_support.h"
#include "platform/hosts/hosts_bounds.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "support/temp_folder.h"
#include "syscall_kill.h"

namespace tallowby::platform {
namespace {

using hosts_testing::numberedSites;
using hosts_testing::readFile;

TEST(HostsFileCrash, KilledWriterLeavesOneCompleteContent) {
    testsupport::TempFolder folder;
    const auto hosts = folder.path() / "hosts";
    const std::string user = "127.0.0.1 localhost\n127.0.1.1 box\n";
    hosts_testing::writeFile(hosts, user);
    const auto small = numberedSites(400, "a", ".example.com");
    const auto large = numberedSites(kMostPartSites, "b-long-enough-to-take-longer-to-write", ".example.org");
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

bool returnedFrom(const std::vector<hosts_testing::SyscallStop>& stops, long number) {
    return std::any_of(stops.begin(), stops.end(),
                       [&](const auto& stop) { return stop.number == number && !stop.entering; });
}

TEST(HostsFileCrash, InPlaceRewriteKilledAtEverySystemCallLeavesOldNewOrNewWithFiller) {
    // The user's last line has no line end and follows the block, so filler lands right after it.
    const std::string before = "127.0.0.1 localhost\n";
    const std::string after = "10.0.0.1 nas";
    const auto few = numberedSites(2, "a", ".example.com");
    const auto many = numberedSites(300, "b", ".example.org");
    const struct {
        const char* what;
        std::vector<std::string> from, to;
    } changes[] = {{"shrinking", many, few}, {"growing", few, many}};
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        const std::string oldContent = before + renderHostsBlock(change.from, "\n") + after;
        const std::string newContent = before + renderHostsBlock(change.to, "\n") + after;
        std::string withFiller = newContent;
        withFiller.resize(std::max(oldContent.size(), newContent.size()), '\0');
        const auto stateOf = [&](const std::string& content) -> std::string {
            if (content == newContent)
                return "new";
            if (content == withFiller)
                return "new with filler";
            return content == oldContent ? "old"
                                         : "mixed: " + ::testing::PrintToString(content.substr(0, 300));
        };
        for (std::size_t killAt = 0;; ++killAt) {
            SCOPED_TRACE(::testing::Message() << "killed at stop " << killAt);
            testsupport::TempFolder folder;
            const auto hosts = folder.path() / "hosts";
            hosts_testing::writeFile(hosts, oldContent);
            HostsFile file(hosts, "\n");
            file.setFolderProbe([](const std::filesystem::path&) { return EACCES; });
            const auto stops = hosts_testing::runKilledAtSyscall(
                [&] { file.write(change.to); },
                [&](const auto& stopsSoFar) { return stopsSoFar.size() > killAt; });
            if (!stops)
                GTEST_SKIP() << "this system does not let a process be traced";
            const std::string content = readFile(hosts);
            if (!returnedFrom(*stops, SYS_write))
                ASSERT_EQ(stateOf(content), "old");
            else if (!returnedFrom(*stops, SYS_ftruncate))
                ASSERT_EQ(stateOf(content), stateOf(withFiller));
            else
                ASSERT_EQ(stateOf(content), "new");
            // The filler never turns into a line of the user's, and the next check and write put it right.
            ASSERT_EQ(renderHosts(content, change.to, "\n"), newContent);
            ASSERT_EQ(HostsFile(hosts, "\n").holds(change.to), content == newContent);
            file.write(change.to);
            ASSERT_EQ(readFile(hosts), newContent);
            if (stops->size() <= killAt)
                break; // the writer got to its end
        }
    }
}

} // namespace
} // namespace tallowby::platform
