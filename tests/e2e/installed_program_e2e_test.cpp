// The installed program as an ordinary user runs it: from the package's layout, with its data in
// the user's home and its website blocks handed to pkexec. A stand-in pkexec records the request;
// the real one, and the real helper, are never run.
#include <gtest/gtest.h>

#include <regex>
#include <sys/stat.h>

#include "installed_program.h"
#include "rule_files.h"
#include "support/file_bytes.h"
#include "support/other_user.h"
#include "support/wait_until.h"

namespace tallowby::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::waitUntil;

constexpr const char* kBlockedSite = "blocked.tallowby.test";
constexpr const char* kHelpPage = "Tallowby - Help.htm";

uid_t ownerOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_uid : static_cast<uid_t>(-1);
}

TEST(InstalledProgram, RunsForAnOrdinaryUserWithItsDataAtHomeAndBlocksThroughPkexec) {
    if (const std::string why = testsupport::whyNoOtherUser(); !why.empty())
        GTEST_SKIP() << why;
    const InstalledProgram installed;
    // The first start of this user, who has written one rule already: the default profile's
    // websites blocked every day.
    installed.writeEveryDayRule("", std::string(kBlockedSite) + ";");
    const std::string machineHosts = testsupport::readFile(installed.hostsFile());

    testsupport::XSession session;
    testsupport::ChildProcess program = installed.start(session);

    // The hosts file refuses the user, so the block goes to the helper through pkexec.
    const auto blocked = [&] {
        for (const auto& call : installed.pkexec().calls()) {
            if (call.input.find(std::string(kBlockedSite) + "\n") != std::string::npos)
                return true;
        }
        return false;
    };
    ASSERT_TRUE(waitUntil(blocked, 20s)) << "pkexec was not asked to block " << kBlockedSite;
    const auto call = installed.pkexec().calls().front();
    // The helper and argument pkexec is asked to run are those of the installed polkit action that
    // asks the user for no password, or the user would be asked for an administrator's. Lifting
    // early is the other action, bound to its own argument, and always asks.
    const std::vector<PolicyAction> actions = policyActions(installed.policyFile());
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].allowActive, "yes");
    EXPECT_EQ(actions[1].argv1, "--lift-early");
    EXPECT_EQ(actions[1].allowActive, "auth_admin");
    EXPECT_EQ(actions[1].execPath, actions[0].execPath);
    EXPECT_EQ(call.args,
              (std::vector<std::string>{"--disable-internal-agent",
                                        installed.staged(actions[0].execPath).string(), actions[0].argv1}));
    EXPECT_TRUE(fs::exists(installed.staged(actions[0].execPath)));

    // By then its data is laid out: the installation's default rules and options copied in beside
    // the rule, owned by the user; what the program only reads stays in the installation.
    const fs::path config = installed.dataFolder() / "config.db";
    EXPECT_TRUE(fs::exists(config)) << "no config.db in the user's data folder";
    EXPECT_EQ(ownerOf(config), testsupport::kNobodyId);
    for (const char* readOnly : {kHelpPage, "sound", "icon"})
        EXPECT_FALSE(fs::exists(installed.dataFolder() / readOnly)) << readOnly << " was copied to the user";
    EXPECT_NE(testsupport::readFile(installed.dataFolder() / "profiles" / "Default").find(kBlockedSite),
              std::string::npos)
        << "the user's own rule was replaced";

    EXPECT_FALSE(program.hasExited()) << "the program ended by itself";
    EXPECT_EQ(testsupport::readFile(installed.hostsFile()), machineHosts) << "only the helper may write it";
    program.stop();
}

// Two users of one machine, each running Tallowby with websites of their own, the real helper
// writing for them as pkexec would run it. Each user's websites stay blocked all the while, and
// neither program rewrites the file once it holds both parts: each compares its own part alone.
// The second user keeps website blocks until their session ends, on a clock two days ahead of the
// system's (the helper's): the locks the helper writes are never the ones that program would
// write, and still it does not ask again.
TEST(InstalledProgram, TwoUsersBlockingDifferentWebsitesAtOnceNeverUndoEachOther) {
    if (const std::string why = testsupport::whyNoOtherUser(); !why.empty())
        GTEST_SKIP() << why;
    if (!fs::exists(TALLOWBY_FAKETIME_LIBRARY))
        GTEST_SKIP() << "libfaketime is not installed (package faketime)";
    InstalledProgram first;
    InstalledProgram second(testsupport::kNobodyId - 1);
    second.shareHostsFile(first);
    const std::vector<std::pair<InstalledProgram*, std::string>> users{
        {&first, "first-user.tallowby.test"}, {&second, "second-user.tallowby.test"}};
    for (const auto& [installed, site] : users) {
        installed->runRealHelper();
        installed->writeEveryDayRule("", site + ";");
    }
    writeConfig(second.dataFolder(), "Default", {.websiteBlocksStay = true});
    second.handHomeOver();
    const std::string machineLines = testsupport::readFile(first.hostsFile());

    testsupport::XSession session;
    testsupport::ChildProcess firstProgram = first.start(session);
    testsupport::ChildProcess secondProgram = second.start(
        session, {"LD_PRELOAD=" TALLOWBY_FAKETIME_LIBRARY, "FAKETIME=+2d", "FAKETIME_DONT_FAKE_MONOTONIC=1"});
    const auto bothBlocked = [&](const std::string& content) {
        return content.starts_with(machineLines) &&
               content.find("\n127.0.0.1       first-user.tallowby.test\n") != std::string::npos &&
               content.find("\n127.0.0.1       second-user.tallowby.test # locked until ") !=
                   std::string::npos;
    };
    ASSERT_TRUE(waitUntil([&] { return bothBlocked(testsupport::readFile(first.hostsFile())); }, 60s))
        << testsupport::readFile(first.hostsFile());
    const std::string both = testsupport::readFile(first.hostsFile());
    for (const std::string part :
         {"# Tallowby sites of user 65534\n127.0.0.1       first-user.tallowby.test\n",
          "# Tallowby sites of user 65533\n127.0.0.1       second-user.tallowby.test # locked"})
        EXPECT_NE(both.find(part), std::string::npos) << both;

    // A minute of watching: the file never changes, so neither user's websites are ever reachable,
    // and no program asks the helper again and again.
    bool changed = false;
    waitUntil([&] { return (changed = testsupport::readFile(first.hostsFile()) != both); }, 60s);
    EXPECT_FALSE(changed) << testsupport::readFile(first.hostsFile());
    for (const auto& [installed, site] : users) {
        const std::vector<std::string> runs = installed->helperRuns();
        EXPECT_GE(runs.size(), 1u) << site;
        EXPECT_LE(runs.size(), 2u) << site << " asked again and again";
    }
    EXPECT_FALSE(firstProgram.hasExited());
    EXPECT_FALSE(secondProgram.hasExited());
    firstProgram.stop();
    secondProgram.stop();
}

TEST(InstalledProgram, AnUpgradedHelpPageIsTheOneShownToAUserOfTheEarlierLayout) {
    if (const std::string why = testsupport::whyNoOtherUser(); !why.empty())
        GTEST_SKIP() << why;
    const InstalledProgram installed;
    // The earlier layout copied every installation file into the user's data folder; the help page
    // there is the earlier version's. The upgrade brought a new one.
    const fs::path installation = installed.staged(TALLOWBY_INSTALLED_DEFAULTS);
    installed.makeDataFolder();
    fs::copy(installation, installed.dataFolder(), fs::copy_options::recursive);
    testsupport::writeFile(installed.dataFolder() / kHelpPage, "<html>the earlier version's help</html>\n");
    testsupport::writeFile(installation / kHelpPage, "<html>the upgraded help</html>\n");
    installed.handHomeOver();

    testsupport::XSession session;
    const UsersAccessibility accessibility(installed, session);
    testsupport::ChildProcess program = installed.start(session, accessibility.programEnvironment());
    ASSERT_TRUE(accessibility.drive({"click:Tallowby/Help", "key:Down Return"}))
        << "Help > Content was not chosen";

    ASSERT_TRUE(waitUntil([&] { return !installed.opener().calls().empty(); }, 20s)) << "no page was opened";
    const auto opened = installed.opener().calls().front().args;
    ASSERT_EQ(opened.size(), 1u);
    const std::string url =
        "file://" + std::regex_replace((installation / kHelpPage).string(), std::regex(" "), "%20");
    EXPECT_EQ(opened[0], url) << "not the installation's help page";
    EXPECT_EQ(testsupport::readFile(installation / kHelpPage), "<html>the upgraded help</html>\n");
    EXPECT_EQ(testsupport::readFile(installed.dataFolder() / kHelpPage),
              "<html>the earlier version's help</html>\n")
        << "the earlier layout's copy is the user's to remove";
    EXPECT_FALSE(program.hasExited()) << "the program ended by itself";
    program.stop();
}

} // namespace
} // namespace tallowby::e2e
