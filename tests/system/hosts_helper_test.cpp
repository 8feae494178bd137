// The hosts helper as pkexec runs it: the names to block on standard input, the program's block in
// the file. The tests' build of the helper writes one fixed file of the build tree, so these tests
// never run side by side (ctest's resource lock).
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include "hosts_request.h"
#include "platform/hosts/hosts_content.h"
#include "platform/linux/pkexec_hosts_write.h"
#include "platform/program_run.h"
#include "store/stale_temporaries.h"
#include "support/other_user.h"
#include "test_files.h"

namespace tallowby::hosts_helper {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

platform::ProgramRun runWithInput(const fs::path& program, const std::vector<std::string>& args,
                                  std::string_view input) {
    return platform::runProgram(program, args, input, 30s);
}

const fs::path kHostsFile = TALLOWBY_HOSTS_HELPER_TEST_FILE;
const fs::path kHelper = TALLOWBY_HOSTS_HELPER_TEST_EXE;
// The helper as installed, whose file is /etc/hosts: only ever run as nobody, with a file of the
// test's own mounted over /etc/hosts.
const fs::path kInstalledHelper = TALLOWBY_HOSTS_HELPER_EXE;

// The user's own lines: mixed line ends and a last line without one, all to be kept byte for byte.
const std::string kUserLines = "127.0.0.1\tlocalhost\r\n127.0.1.1\tbox.home.arpa box\n10.0.0.5 nas.home.arpa "
                               "nas\n# the end, no line end";

std::string withBlock(const std::vector<std::string>& sites) {
    return kUserLines + "\n" + platform::renderHostsBlock(sites, "\n");
}

class HostsHelper : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(kHostsFile.parent_path());
        test::writeFile(kHostsFile, kUserLines);
    }

    platform::ProgramRun request(std::string_view names, const std::vector<std::string>& args = {"--block"}) {
        return runWithInput(kHelper, args, names);
    }
};

TEST_F(HostsHelper, WritesTheNamesAsTheProgramsBlockAndKeepsTheUsersLines) {
    const std::string longestLabel(63, 'a');
    // Four labels of 63 and the dots between them: 255 characters, two too many; cut to 253.
    const std::string longestName = (longestLabel + ".")
                                        .append(longestLabel + ".")
                                        .append(longestLabel + ".")
                                        .append(longestLabel.substr(0, 61));
    ASSERT_EQ(longestName.size(), 253u);
    const std::vector<std::string> sites{"news.example.org", "XN--bcher-kva.example", "a-b.c0", longestName};

    std::string names;
    for (const std::string& site : sites)
        names += site + "\n";
    const auto run = request(names);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(test::readFile(kHostsFile), withBlock(sites));

    // The next request replaces the block; a last line may end the input without a line end.
    ASSERT_EQ(request("chat.example\nvideo.example").exitCode, 0);
    EXPECT_EQ(test::readFile(kHostsFile), withBlock({"chat.example", "video.example"}));

    // No names at all: no block is left, as after Stop. A helper killed while it wrote left its
    // temporary file long ago; one of a write under way now stays.
    const fs::path killed = kHostsFile.parent_path() / store::temporaryName("hosts", "Ab3dE9");
    const fs::path underWay = kHostsFile.parent_path() / store::temporaryName("hosts", "Zz9yX8");
    test::writeFile(killed, "half a hosts file");
    test::writeFile(underWay, "a hosts file being written");
    fs::last_write_time(killed, fs::file_time_type::clock::now() - 2h);
    ASSERT_EQ(request("").exitCode, 0);
    EXPECT_EQ(test::readFile(kHostsFile), withBlock({}));
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(underWay));
    fs::remove(underWay);
}

struct Refused {
    const char* what;
    std::string input;
    std::string named; // how the message names the offending line
};

class HostsHelperRefuses : public HostsHelper, public testing::WithParamInterface<Refused> {};

TEST_P(HostsHelperRefuses, AnyNameThatIsNotAPlainHostNameAndWritesNothing) {
    const auto run = request(GetParam().input);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find(GetParam().named), std::string::npos) << run.errors;
    EXPECT_EQ(test::readFile(kHostsFile), kUserLines);
}

const std::string kLabel64(64, 'x');
const std::string kName254 = std::string(63, 'a') + "." + std::string(63, 'b') + "." + std::string(63, 'c') +
                             "." + std::string(62, 'd');

INSTANTIATE_TEST_SUITE_P(
    Names, HostsHelperRefuses,
    testing::Values(Refused{"Underscore", "good.example\nbad_name.example\n",
                            "line 2 is not a plain host name: \"bad_name.example\""},
                    Refused{"Space", "127.0.0.1 evil.example\n", "\"127.0.0.1 evil.example\""},
                    Refused{"EmptyLine", "a.example\n\nb.example\n", "line 2 is not a plain host name: \"\""},
                    Refused{"LeadingDot", ".example\n", "\".example\""},
                    Refused{"TrailingDot", "example.org.\n", "\"example.org.\""},
                    Refused{"DoubleDot", "a..example\n", "\"a..example\""},
                    Refused{"CarriageReturn", "a.example\r\n", "\"a.example\\x0d\""},
                    Refused{"NulByte", std::string("a\0b.example\n", 12), "\"a\\x00b.example\""},
                    Refused{"NonAscii",
                            "b\xc3\xbc"
                            "cher.example\n",
                            "\"b\\xc3\\xbccher.example\""},
                    Refused{"Marker", std::string(platform::kHostsEndMarker) + "\n", "\"# END Tallowby"},
                    Refused{"LabelOf64", kLabel64 + ".example\n", kLabel64},
                    Refused{"NameOf254", kName254 + "\n", "line 1 is not a plain host name"},
                    Refused{"LeadingHyphen", "-bad.com\n", "\"-bad.com\""},
                    Refused{"LabelEndingInHyphen", "bad-.com\n", "\"bad-.com\""},
                    Refused{"Address", "10.0.0.1\n", "\"10.0.0.1\""},
                    // What the resolver reads as an address in any form, and this machine's names.
                    Refused{"HexAddress", "0x7f.0x1\n", "\"0x7f.0x1\""},
                    Refused{"OneNumber", "0x7f000001\n", "\"0x7f000001\""},
                    Refused{"DecimalNumber", "2130706433\n", "\"2130706433\""},
                    Refused{"HexLastPart", "1.2.3.0x10\n", "\"1.2.3.0x10\""},
                    Refused{"OctalParts", "0177.01\n", "\"0177.01\""},
                    Refused{"Localhost", "localhost\n", "\"localhost\""},
                    Refused{"LocalhostDomain", "LocalHost.localdomain\n", "\"LocalHost.localdomain\""},
                    Refused{"UnderLocalhost", "app.localhost\n", "\"app.localhost\""},
                    Refused{"Ip6Name", "ip6-localhost\n", "\"ip6-localhost\""},
                    Refused{"OneLabel", "com\n", "\"com\""},
                    Refused{"MachinesOwnName", "Box.home.arpa\n",
                            "\"Box.home.arpa\" is a name of this machine"},
                    Refused{"MachinesShortName", "box.home.arpa\nbox\n", "line 2 is not a plain host name"},
                    Refused{"Escape", "a\x1b[2J.example\n", "\"a\\x1b[2J.example\""}),
    [](const testing::TestParamInfo<Refused>& info) { return info.param.what; });

TEST_F(HostsHelper, RefusesARequestOverItsSizeLimitAndAnyArgument) {
    std::string many;
    while (many.size() <= kMaxRequestBytes)
        many += "blocked-site.example\n";
    const auto large = request(many);
    EXPECT_EQ(large.exitCode, 1);
    EXPECT_NE(large.errors.find("larger than"), std::string::npos) << large.errors;

    // The file is fixed when the helper is built; no argument may name another. Without its one
    // argument (pkexec's fallback action) it does nothing.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/tmp/other-hosts"}, {}, {"--block", "/tmp/other-hosts"}}) {
        const auto named = request("a.example\n", args);
        EXPECT_EQ(named.exitCode, 2);
        EXPECT_NE(named.errors.find("one argument, --block or --lift-early"), std::string::npos)
            << named.errors;
    }

    EXPECT_EQ(test::readFile(kHostsFile), kUserLines);
}

TEST_F(HostsHelper, TakesTheProgramsOwnRequestsAndTheirRefusalReachesTheUser) {
    // pkexec as it acts for a user who may: it runs the helper with the caller's input. The tests'
    // helper answers in the installed one's place.
    test::TempFolder temp;
    fs::create_directories(temp / "bin");
    test::writeFile(temp / "bin" / "pkexec", "#!/bin/sh\nshift\nexec \"$@\"\n");
    fs::permissions(temp / "bin" / "pkexec", fs::perms(0755));
    platform::PkexecHostsWrite::Options options;
    options.helper = kHelper;
    options.hostsFile = kHostsFile;
    options.pkexec = temp / "bin" / "pkexec";
    platform::PkexecHostsWrite write(options);

    write({"news.example", "chat.example"});
    EXPECT_EQ(test::readFile(kHostsFile), withBlock({"news.example", "chat.example"}));

    try {
        write({"news.example", "two words.example"});
        ADD_FAILURE() << "a name with a space was written";
    } catch (const store::FileError& error) {
        EXPECT_NE(std::string(error.what()).find("line 2 is not a plain host name: \"two words.example\""),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(test::readFile(kHostsFile), withBlock({"news.example", "chat.example"}));
}

TEST_F(HostsHelper, KeepsALockedNameUntilItsTimeUnlessAnAdministratorLiftsItEarly) {
    const auto now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    const std::string hour = std::to_string(now + 3600);
    ASSERT_EQ(request("kept.example " + hour + "\nfree.example\n").exitCode, 0);
    const std::string kept = "127.0.0.1       kept.example" + platform::lockText(now + 3600) + "\n";
    const std::string locked = kUserLines + "\n" + std::string(platform::kHostsBeginMarker) +
                               "\n127.0.0.1       localhost\n" + std::string(platform::kHostsPartPrefix) +
                               std::to_string(::getuid()) + "\n" + kept +
                               std::string(platform::kHostsEndMarker) + "\n";
    EXPECT_EQ(test::readFile(kHostsFile), locked.substr(0, locked.find(kept) + kept.size()) +
                                              "127.0.0.1       free.example\n" +
                                              std::string(platform::kHostsEndMarker) + "\n");

    // Calling the helper by hand with nothing to block, or with the name locked for less time,
    // lifts nothing locked; a request too far ahead locks no longer than a day and an hour.
    ASSERT_EQ(request("").exitCode, 0);
    EXPECT_EQ(test::readFile(kHostsFile), locked);
    ASSERT_EQ(request("kept.example " + std::to_string(now + 60) + "\n").exitCode, 0);
    EXPECT_EQ(test::readFile(kHostsFile), locked);
    ASSERT_EQ(request("far.example 99999999999\n").exitCode, 0);
    const std::vector<platform::BlockLine> lines = platform::blockLines(test::readFile(kHostsFile));
    const auto far = std::find_if(lines.begin(), lines.end(),
                                  [](const platform::BlockLine& line) { return line.site == "far.example"; });
    ASSERT_NE(far, lines.end());
    EXPECT_NEAR(far->lockedUntil - now, platform::kLongestLockSeconds, 5);

    // Only the action that asks for an administrator lifts it early.
    ASSERT_EQ(request("", {"--lift-early"}).exitCode, 0);
    EXPECT_EQ(test::readFile(kHostsFile), withBlock({}));

    // A lock whose time has passed goes with the next write.
    test::writeFile(kHostsFile, kUserLines + "\n" + platform::renderHostsBlock({"old.example"}, "\n"));
    std::string content = test::readFile(kHostsFile);
    content.insert(content.find("old.example") + 11, platform::lockText(now - 1));
    test::writeFile(kHostsFile, content);
    ASSERT_EQ(request("").exitCode, 0);
    EXPECT_EQ(test::readFile(kHostsFile), withBlock({}));
}

TEST(InstalledHostsHelper, RefusesToRunWithoutRootBeforeReadingAnything) {
    if (const std::string why = testsupport::whyNoOtherUser(); !why.empty())
        GTEST_SKIP() << why;
    test::TempFolder temp;
    fs::permissions(temp.path(), fs::perms(0755));
    test::writeFile(temp / "hosts", kUserLines);

    const auto run =
        runWithInput("/usr/bin/unshare",
                     testsupport::withOwnEtcHosts(
                         temp / "hosts", testsupport::asNobody({kInstalledHelper.string(), "--block"})),
                     "news.example\n");
    EXPECT_EQ(run.exitCode, 4) << run.errors;
    EXPECT_NE(run.errors.find("only root may run it"), std::string::npos) << run.errors;
    EXPECT_EQ(test::readFile(temp / "hosts"), kUserLines);
}

} // namespace
} // namespace tallowby::hosts_helper
