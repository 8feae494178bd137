// The hosts helper on a machine of several users: each user's part of the block, the bounds every
// request is kept within, and one writer at a time. Users are told apart as pkexec tells them to
// the helper, by PKEXEC_UID. The tests' build of the helper writes one fixed file of the build tree.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/hosts/hosts_bounds.h"
#include "platform/hosts/hosts_content.h"
#include "platform/program_run.h"
#include "store/stale_temporaries.h"
#include "test_files.h"

namespace tallowby::hosts_helper {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::BlockLine;

const fs::path kHostsFile = TALLOWBY_HOSTS_HELPER_TEST_FILE;
const fs::path kHelper = TALLOWBY_HOSTS_HELPER_TEST_EXE;
const std::string kUserLines = "127.0.0.1\tlocalhost\n10.0.0.5 nas.home.arpa nas\n";

// The helper as pkexec runs it for the user uid (root running it directly without one).
platform::ProgramRun asUser(const std::string& uid, const std::string& mode, std::string_view input) {
    std::vector<std::string> args;
    if (!uid.empty())
        args.push_back("PKEXEC_UID=" + uid);
    args.push_back(kHelper.string());
    args.push_back(mode);
    return platform::runProgram("/usr/bin/env", args, input, 60s);
}

std::int64_t now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// count names "<prefix>-<i>.example", each locked until `until` when it is not 0.
std::string request(const std::string& prefix, std::size_t count, std::int64_t until = 0) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += prefix + "-" + std::to_string(i) + ".example";
        if (until != 0)
            text += " " + std::to_string(until);
        text += "\n";
    }
    return text;
}

std::vector<std::string> sitesOf(const std::vector<BlockLine>& lines) {
    std::vector<std::string> sites;
    for (const BlockLine& line : lines)
        sites.push_back(line.site);
    return sites;
}

std::vector<std::string> names(const std::string& prefix, std::size_t count) {
    std::vector<std::string> all;
    for (std::size_t i = 0; i < count; ++i)
        all.push_back(prefix + "-" + std::to_string(i) + ".example");
    return all;
}

class HostsHelperParts : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(kHostsFile.parent_path());
        test::writeFile(kHostsFile, kUserLines);
    }
    std::string file() const { return test::readFile(kHostsFile); }
};

TEST_F(HostsHelperParts, EachUserWritesAndLiftsTheirOwnPartAndRootLiftsEveryPart) {
    const std::int64_t hour = now() + 3600;
    ASSERT_EQ(asUser("1000", "--block", request("first", 2, hour)).exitCode, 0);
    ASSERT_EQ(asUser("1001", "--block", request("second", 2)).exitCode, 0);
    const std::string both = file();
    // The user who asks with nothing lifts only their own unlocked names.
    ASSERT_EQ(asUser("1001", "--block", "").exitCode, 0);
    EXPECT_EQ(sitesOf(platform::partLines(file(), "1000")), names("first", 2));
    EXPECT_TRUE(platform::partLines(file(), "1001").empty());
    ASSERT_EQ(asUser("1001", "--block", request("second", 2)).exitCode, 0);
    EXPECT_EQ(file(), both) << "a part comes back as it was, the other kept byte for byte";

    // An early lift is the asking user's alone; only root, running the helper directly, lifts all.
    ASSERT_EQ(asUser("1001", "--lift-early", "").exitCode, 0);
    EXPECT_EQ(sitesOf(platform::partLines(file(), "1000")), names("first", 2));
    const auto throughPkexec = asUser("1001", "--lift-all", "");
    EXPECT_EQ(throughPkexec.exitCode, 1);
    EXPECT_NE(throughPkexec.errors.find("only root, running it directly"), std::string::npos)
        << throughPkexec.errors;
    ASSERT_EQ(asUser("", "--lift-all", "").exitCode, 0);
    EXPECT_EQ(file(), kUserLines) << "no block is left once nothing is blocked";
}

// /etc/hosts may be a link: the file it leads to is written, and a killed helper's temporary file
// is cleared from beside that file, not from beside the link.
TEST_F(HostsHelperParts, ALinkedFileIsWrittenAndItsStaleTemporariesCleared) {
    const fs::path real = kHostsFile.parent_path() / "elsewhere" / "hosts.real";
    fs::create_directories(real.parent_path());
    test::writeFile(real, kUserLines);
    fs::remove(kHostsFile);
    fs::create_symlink(real, kHostsFile);
    const fs::path stale = real.parent_path() / store::temporaryName("hosts.real", "Ab3dE9");
    test::writeFile(stale, "half a hosts file");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - 2h);

    ASSERT_EQ(asUser("1000", "--block", "news.example\n").exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(kHostsFile));
    EXPECT_EQ(sitesOf(platform::partLines(test::readFile(real), "1000")),
              std::vector<std::string>{"news.example"});
    EXPECT_FALSE(fs::exists(stale));
    fs::remove(kHostsFile);
    fs::remove_all(real.parent_path());
}

// Password-free calls of fresh locked names, as many as any user cares to make, from two users:
// each user's part stays within what one user's rules can ask for, and the file within its bound.
TEST_F(HostsHelperParts, AFloodOfLockedNamesStaysWithinTheBoundsAndAnEarlyLiftStillWorks) {
    const std::string longLabel(60, 'x');
    std::size_t refused = 0;
    for (int call = 0; call < 28; ++call) {
        for (const std::string uid : {"1000", "1001"}) {
            const auto run =
                asUser(uid, "--block",
                       request(longLabel + "." + longLabel + ".u" + uid + "c" + std::to_string(call),
                               platform::kMostPartSites, now() + 25 * 3600));
            if (run.exitCode == 1 && run.errors.find("more than the 1000") != std::string::npos)
                ++refused;
            else
                ASSERT_EQ(run.exitCode, 0) << run.errors;
        }
    }
    EXPECT_EQ(refused, 2u * 27) << "every call after a user's first is past the user's bound";
    EXPECT_EQ(platform::partLines(file(), "1000").size(), platform::kMostPartSites);
    EXPECT_LE(file().size(), kUserLines.size() + 2 * platform::kMostPartSites * 320);

    // More names than a part holds in one request, or more bytes than such a request takes.
    const auto many = asUser("1002", "--block", request("many", platform::kMostPartSites + 1));
    EXPECT_EQ(many.exitCode, 1);
    EXPECT_NE(many.errors.find("names more than 1000 websites"), std::string::npos) << many.errors;

    // The user's early lift (an administrator's password) takes their locks away.
    ASSERT_EQ(asUser("1000", "--lift-early", "").exitCode, 0);
    EXPECT_TRUE(platform::partLines(file(), "1000").empty());
    EXPECT_EQ(platform::partLines(file(), "1001").size(), platform::kMostPartSites);
}

// A file at the size the program reads takes no new block, but a write that shrinks it, and
// root's lift of every part, always go through, even past the bound.
TEST_F(HostsHelperParts, AFileAtItsBoundTakesNothingMoreAndCanAlwaysBeMended) {
    const std::string block = platform::renderHostsBlock({"kept.example"}, "\n");
    std::string big = kUserLines;
    big.resize(platform::kMostHostsFileBytes - block.size() - 1, '#');
    big += "\n";
    test::writeFile(kHostsFile, big);
    ASSERT_EQ(fs::file_size(kHostsFile), platform::kMostHostsFileBytes - block.size());

    const auto grows = asUser("1000", "--block", "a-longer-name-than-kept.example\n");
    EXPECT_EQ(grows.exitCode, 1);
    EXPECT_NE(grows.errors.find("would grow past 64 MiB"), std::string::npos) << grows.errors;
    ASSERT_EQ(asUser("", "--block", "kept.example\n").exitCode, 0);
    EXPECT_EQ(fs::file_size(kHostsFile), platform::kMostHostsFileBytes);
    EXPECT_EQ(asUser("1001", "--block", "new.example\n").exitCode, 1);

    // Past the bound (an earlier version's flood): root's lift reads it whole and takes the block.
    test::writeFile(kHostsFile, big + "more lines of the user's\n" + block);
    ASSERT_EQ(asUser("", "--lift-all", "").exitCode, 0);
    EXPECT_EQ(file(), big + "more lines of the user's\n");
}

// A helper run for the user with its request written but its input left open: it reads the
// whole request before it does anything, so helpers let go at once start their work together.
struct HeldHelper {
    pid_t pid = -1;
    int input = -1;
};

HeldHelper holdHelper(const std::string& uid, std::string_view request) {
    // Close-on-exec, so that no other helper holds this one's input open.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[0], STDIN_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::setenv("PKEXEC_UID", uid.c_str(), 1);
        ::execl(kHelper.c_str(), kHelper.c_str(), "--block", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[0]);
    // Small requests: the pipe takes them whole.
    EXPECT_EQ(::write(fds[1], request.data(), request.size()), static_cast<ssize_t>(request.size()));
    return {pid, fds[1]};
}

int exitOf(const HeldHelper& helper) {
    int status = 0;
    return ::waitpid(helper.pid, &status, 0) == helper.pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Two users' helpers let go at the same moment, again and again: one keeps 50 locked names beside
// a new name of its own, the other writes 50 new ones each time. Neither write may lose the other's.
TEST_F(HostsHelperParts, ConcurrentWritesOfTwoUsersLoseNothing) {
    // A machine's own block list of some size: each write takes long enough for the other to come
    // in while it plans.
    std::string userLines = kUserLines;
    while (userLines.size() < 2 * 1024 * 1024)
        userLines += "0.0.0.0 ads-" + std::to_string(userLines.size()) + ".example\n";
    test::writeFile(kHostsFile, userLines);
    const std::int64_t hour = now() + 3600;
    ASSERT_EQ(asUser("1000", "--block", request("locked", 50, hour)).exitCode, 0);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        const std::string prefix = "round" + std::to_string(round);
        const HeldHelper keeping = holdHelper("1000", prefix + ".own.example\n");
        const HeldHelper writing = holdHelper("1001", request(prefix, 50));
        ::close(keeping.input);
        ::close(writing.input);
        ASSERT_EQ(exitOf(keeping), 0);
        ASSERT_EQ(exitOf(writing), 0);
        const std::string content = file();
        std::vector<std::string> kept{prefix + ".own.example"};
        const std::vector<std::string> locked = names("locked", 50);
        kept.insert(kept.end(), locked.begin(), locked.end());
        ASSERT_EQ(sitesOf(platform::partLines(content, "1000")), kept);
        ASSERT_EQ(sitesOf(platform::partLines(content, "1001")), names(prefix, 50));
        ASSERT_EQ(content.find(userLines), 0u);
    }
}

// The file edited by hand (saved as editors save: a new file renamed over it) while the helper
// writes: no write may undo an edit it did not read.
TEST_F(HostsHelperParts, AHandEditMadeWhileTheHelperWritesIsKept) {
    constexpr int kEdits = 400;
    std::atomic<bool> editing = true;
    std::thread helper([&] {
        for (int round = 0; editing; ++round)
            EXPECT_EQ(asUser("1000", "--block", request("r" + std::to_string(round % 2), 20)).exitCode, 0);
    });
    const fs::path edited = kHostsFile.parent_path() / "edited-by-hand";
    for (int edit = 0; edit < kEdits; ++edit) {
        test::writeFile(edited, file() + "# edit " + std::to_string(edit) + "\n");
        fs::rename(edited, kHostsFile);
        std::this_thread::sleep_for(2ms);
    }
    editing = false;
    helper.join();
    const std::string content = file();
    for (int edit = 0; edit < kEdits; ++edit)
        ASSERT_NE(content.find("# edit " + std::to_string(edit) + "\n"), std::string::npos)
            << "edit " << edit << " was undone";
}

} // namespace
} // namespace tallowby::hosts_helper
