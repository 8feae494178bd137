// The program's side of a hosts write made through pkexec, against a stand-in pkexec that records
// each call: what it is asked, how its refusals read, and that a refusal is not asked again every
// second. The real pkexec is never run: the client is given the stand-in in its place.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <sys/stat.h>
#include <type_traits>

#include "ordinary_user.h"
#include "platform/hosts/background_hosts_write.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "platform/hosts/permission_not_given.h"
#include "platform/linux/pkexec_hosts_write.h"
#include "support/stand_in_program.h"
#include "support/wait_until.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::StandInProgram;

class PkexecHostsWriteTest : public testing::Test {
  protected:
    PkexecHostsWriteTest() {
        // Open to the ordinary user some tests run their work as.
        fs::permissions(temp.path(), fs::perms(0755));
        fs::create_directories(helper.parent_path());
        test::writeFile(helper, "never run: the stand-in pkexec only records its name");
    }

    PkexecHostsWrite::Options options() {
        PkexecHostsWrite::Options options;
        options.helper = helper;
        options.hostsFile = "/etc/hosts";
        options.pkexec = pkexec.program();
        options.timeout = 20s;
        return options;
    }

    // The description of the failure, or nothing when the write went through.
    template <typename Write> std::optional<std::string> failureOf(Write& write, const BlockRequest& sites) {
        try {
            // The background write tells how its last write of these sites went.
            if constexpr (std::is_same_v<Write, BackgroundHostsWrite>)
                EXPECT_TRUE(write.write(sites));
            else
                write(sites);
        } catch (const store::FileError& error) {
            EXPECT_EQ(error.code(), EACCES);
            EXPECT_EQ(error.path(), "/etc/hosts");
            return error.what();
        }
        return std::nullopt;
    }

    test::TempFolder temp;
    StandInProgram pkexec{temp / "stand-in", "pkexec"};
    fs::path helper = temp / "libexec" / "tallowby-hosts";
    BackgroundHostsWrite::Clock::time_point now{};
};

TEST_F(PkexecHostsWriteTest, HandsTheSitesToTheHelperThroughPkexecOneALine) {
    PkexecHostsWrite write(options());
    BlockRequest locked{"news.example", "chat.example"};
    locked.lockedUntil["news.example"] = 1796740200;
    EXPECT_EQ(failureOf(write, locked), std::nullopt);
    BlockRequest lift;
    lift.liftEarly = true;
    EXPECT_EQ(failureOf(write, lift), std::nullopt);

    const auto calls = pkexec.calls();
    ASSERT_EQ(calls.size(), 2u);
    // No textual agent of pkexec's own: it would ask on a terminal nobody looks at. The argument
    // picks the polkit action: lifting early is the one that asks for an administrator.
    EXPECT_EQ(calls[0].args,
              (std::vector<std::string>{"--disable-internal-agent", helper.string(), "--block"}));
    EXPECT_EQ(calls[0].input, "news.example 1796740200\nchat.example\n");
    EXPECT_EQ(calls[1].args,
              (std::vector<std::string>{"--disable-internal-agent", helper.string(), "--lift-early"}));
    EXPECT_EQ(calls[1].input, "");
}

struct Refusal {
    const char* what;
    StandInProgram::Answer answer;
    std::string said; // part of the description the user is shown
    // A permission the user did not give (or nothing could ask for) is no fault of a file: the window
    // words it itself, without pkexec's words.
    std::optional<bool> permissionNotGivenWithoutAgent;
};

class PkexecRefusal : public PkexecHostsWriteTest, public testing::WithParamInterface<Refusal> {};

TEST_P(PkexecRefusal, BecomesAPlainDescriptionForTheUser) {
    pkexec.answer(GetParam().answer);
    PkexecHostsWrite::Options hurried = options();
    hurried.timeout = 1s;
    PkexecHostsWrite write(hurried);
    try {
        write({"news.example"});
        FAIL() << "no refusal";
    } catch (const PermissionNotGiven& refusal) {
        ASSERT_TRUE(GetParam().permissionNotGivenWithoutAgent) << refusal.what();
        EXPECT_EQ(refusal.noAgent(), *GetParam().permissionNotGivenWithoutAgent);
        EXPECT_EQ(refusal.code(), EACCES);
    } catch (const store::FileError& error) {
        const std::string failure = error.what();
        ASSERT_FALSE(GetParam().permissionNotGivenWithoutAgent) << failure;
        EXPECT_EQ(failure.rfind("only an administrator may change this file, and ", 0), 0u) << failure;
        EXPECT_NE(failure.back(), '.') << "the window ends the sentence: " << failure;
        EXPECT_NE(failure.find(GetParam().said), std::string::npos) << failure;
        EXPECT_EQ(failure.find('\n'), std::string::npos) << failure;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PkexecRefusal,
    testing::Values(
        Refusal{"DialogDismissed", {126, "", 0}, "", false},
        Refusal{"DialogUnanswered", {0, "", 30}, "", false},
        Refusal{
            "NotAuthorised",
            {127,
             "Error executing command as another user: Not authorized\n\nThis incident has been reported.\n",
             0},
            "",
            false},
        Refusal{"NoAgentToAsk",
                {127, "Error executing command as another user: No authentication agent found.\n", 0},
                "",
                true},
        Refusal{"HelperRefusedAName",
                {1,
                 "tallowby-hosts: line 2 is not a plain host name: \"bad_name\"; the hosts file was left as "
                 "it was\n",
                 0},
                "Tallowby's hosts helper refused the change (exit status 1): tallowby-hosts: line 2 is not a "
                "plain host name: \"bad_name\"",
                std::nullopt},
        Refusal{"HelperCouldNotWrite",
                {3, "tallowby-hosts: cannot write /etc/hosts: Read-only file system\n", 0},
                "cannot write /etc/hosts: Read-only file system",
                std::nullopt}),
    [](const testing::TestParamInfo<Refusal>& info) { return info.param.what; });

TEST_F(PkexecHostsWriteTest, SaysWhatIsMissingWithoutRunningAnything) {
    PkexecHostsWrite::Options noPkexec = options();
    noPkexec.pkexec = temp / "nowhere" / "pkexec";
    PkexecHostsWrite withoutPkexec(noPkexec);
    const auto notInstalled = failureOf(withoutPkexec, {"news.example"});
    ASSERT_TRUE(notInstalled);
    EXPECT_NE(notInstalled->find("pkexec, which asks for that permission, is not installed"),
              std::string::npos)
        << *notInstalled;

    PkexecHostsWrite::Options noHelper = options();
    noHelper.helper = temp / "libexec" / "missing-helper";
    PkexecHostsWrite withoutHelper(noHelper);
    const auto missing = failureOf(withoutHelper, {"news.example"});
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->find(noHelper.helper.string() + ", is missing"), std::string::npos) << *missing;

    EXPECT_TRUE(pkexec.calls().empty());
}

// The tick writes every second while the file lacks the block; each request may put a password
// dialog in front of the user, so a refusal is held back, and the window goes on meanwhile.
TEST_F(PkexecHostsWriteTest, ARefusalIsNotAskedAgainUntilTheSitesChangeOrTimeHasPassed) {
    pkexec.answer({126, "", 0});
    BackgroundHostsWrite write(PkexecHostsWrite(options()), {.now = [this] { return now; }});
    std::atomic<int> ended = 0;
    write.setSettled([&] { ++ended; });
    // Started beside the caller; asked again while it runs, nothing new is started.
    const auto settle = [&](const BlockRequest& sites) {
        const int before = ended;
        EXPECT_FALSE(write.write(sites));
        EXPECT_FALSE(write.write(sites));
        EXPECT_TRUE(testsupport::waitUntil([&] { return ended > before; }, 10s));
        return failureOf(write, sites);
    };
    const auto first = settle({"news.example"});
    ASSERT_TRUE(first);

    // Every tick of the next minutes: the same refusal, without a new request (and dialog).
    for (int tick = 1; tick <= 3; ++tick) {
        now += 1min;
        EXPECT_EQ(failureOf(write, {"news.example"}), first);
    }
    EXPECT_EQ(pkexec.calls().size(), 1u);

    // Other sites are a new request; their refusal is held back in turn.
    EXPECT_TRUE(settle({"news.example", "chat.example"}));
    EXPECT_TRUE(failureOf(write, {"news.example", "chat.example"}));
    EXPECT_EQ(pkexec.calls().size(), 2u);

    // A few minutes on, the same sites are asked for again; this time the user allows it.
    now += 5min;
    pkexec.answer({0, "", 0});
    EXPECT_EQ(settle({"news.example", "chat.example"}), std::nullopt);
    EXPECT_EQ(pkexec.calls().size(), 3u);

    // After a success nothing is held back: a refusal of the very next request is asked for, and
    // the program's last write asks even for sites whose refusal is held back.
    pkexec.answer({127, "", 0});
    EXPECT_TRUE(settle({"news.example", "chat.example"}));
    EXPECT_EQ(pkexec.calls().size(), 4u);
    EXPECT_THROW(write.writeAndWait({"news.example", "chat.example"}), PermissionNotGiven);
    EXPECT_EQ(pkexec.calls().size(), 5u);

    // A request the user has just asked for (an early lift) is asked for again at once, though its
    // refusal is held back; forgetting another request's refusal changes nothing.
    BlockRequest lift{"news.example"};
    lift.liftEarly = true;
    EXPECT_TRUE(settle(lift));
    write.forgetRefusal({"news.example"});
    EXPECT_TRUE(failureOf(write, lift));
    EXPECT_EQ(pkexec.calls().size(), 6u);
    write.forgetRefusal(lift);
    EXPECT_TRUE(settle(lift));
    EXPECT_EQ(pkexec.calls().size(), 7u);
}

// The hosts file decides: it writes itself where it may, and hands the write over only when the
// system refuses it.
class HostsFileWithPkexec : public PkexecHostsWriteTest {
  protected:
    ~HostsFileWithPkexec() override {
        std::error_code ignored;
        fs::permissions(temp / "etc", fs::perms(0755), ignored);
    }

    // What a write by an ordinary user does to a file only its owner may write: nothing on success,
    // else the description of the failure.
    std::string writeAsOrdinaryUser(const fs::path& hosts, const std::vector<std::string>& sites) {
        return test::asOrdinaryUser([&]() -> std::string {
            HostsFile file(hosts, "\n");
            file.setPrivilegedWrite(PkexecHostsWrite(options()));
            try {
                file.write(sites);
            } catch (const store::FileError& error) {
                return error.what();
            }
            return "";
        });
    }

    // A hosts file as the machine has it: readable by everyone, written by its owner alone, in a
    // folder where no one else may make files.
    fs::path machineHostsFile() {
        const fs::path etc = temp / "etc";
        fs::create_directories(etc);
        test::writeFile(etc / "hosts", kOwnLines);
        fs::permissions(etc / "hosts", fs::perms(0444));
        fs::permissions(etc, fs::perms(0555));
        return etc / "hosts";
    }

    const std::string kOwnLines = "127.0.0.1 localhost\n";
};

TEST_F(HostsFileWithPkexec, AFileItMayWriteIsWrittenDirectly) {
    const fs::path hosts = temp / "hosts";
    test::writeFile(hosts, kOwnLines);
    HostsFile file(hosts, "\n");
    file.setPrivilegedWrite(PkexecHostsWrite(options()));
    file.write({"news.example"});

    EXPECT_EQ(test::readFile(hosts), kOwnLines + renderHostsBlock({"news.example"}, "\n"));
    EXPECT_TRUE(pkexec.calls().empty());
}

TEST_F(HostsFileWithPkexec, ARefusedWriteGoesToTheHelperAndItsRefusalIsReported) {
    const fs::path hosts = machineHostsFile();
    EXPECT_EQ(writeAsOrdinaryUser(hosts, {"news.example", "chat.example"}), "");
    ASSERT_EQ(pkexec.calls().size(), 1u);
    EXPECT_EQ(pkexec.calls()[0].input, "news.example\nchat.example\n");

    pkexec.answer({126, "", 0});
    EXPECT_NE(writeAsOrdinaryUser(hosts, {"news.example"}).find("it was not given"), std::string::npos);
    EXPECT_EQ(pkexec.calls().size(), 2u);
    // Only the helper could have changed the file; the stand-in never does.
    EXPECT_EQ(test::readFile(hosts), kOwnLines);
}

} // namespace
} // namespace tallowby::platform
