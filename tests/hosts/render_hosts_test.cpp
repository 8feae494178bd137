// The bytes the hosts writer produces, without any file.
#include <gtest/gtest.h>

#include <random>

#include "platform/hosts/hosts_content.h"
#include "platform/hosts_io.h"

namespace tallowby::platform {
namespace {

const std::string kBegin(kHostsBeginMarker);
const std::string kEnd(kHostsEndMarker);

const std::string kPart = std::string(kHostsPartPrefix) + hosts_io::thisUser();

// This user's block: nothing at all without sites.
std::string block(const std::vector<std::string>& sites, const std::string& end = "\n") {
    if (sites.empty())
        return "";
    std::string bytes = kBegin + end + "127.0.0.1       localhost" + end + kPart + end;
    for (const auto& site : sites)
        bytes += "127.0.0.1       " + site + end;
    return bytes + kEnd + end;
}

TEST(RenderHosts, FirstWriteOfAnEmptyFileIsTheBlockAlone) {
    EXPECT_EQ(renderHosts("", {"example.com", "example.org"}, "\n"),
              "# BEGIN Tallowby blocked sites - managed by Tallowby, do not edit\n"
              "127.0.0.1       localhost\n"
              "# Tallowby sites of user " +
                  hosts_io::thisUser() +
                  "\n"
                  "127.0.0.1       example.com\n"
                  "127.0.0.1       example.org\n"
                  "# END Tallowby blocked sites\n");
    // Nothing blocked, nothing locked: no block at all.
    EXPECT_EQ(renderHosts("", {}, "\r\n"), "");
}

TEST(RenderHosts, SitesStandExactlyAsGivenInOrderWithDuplicates) {
    const std::vector<std::string> sites{"WWW.Example.COM", "b.org", "WWW.Example.COM"};
    EXPECT_EQ(renderHosts("", sites, "\n"), block(sites));
    // What is not a host name is left out: one line must not name two hosts, nor a URL stand there.
    EXPECT_EQ(renderHosts("", {"a b.net", "b.org", "https://c.org"}, "\n"), block({"b.org"}));
}

TEST(RenderHosts, UserLinesAroundTheBlockAreKeptByteForByte) {
    const std::string before = "127.0.0.1\tlocalhost\n127.0.1.1 box.lan box\r\n# a comment \t\n\n";
    const std::string after = "::1     localhost ip6-localhost\nff02::1 ip6-allnodes\r\n10.0.0.1 nas";
    const std::string old = before + block({"old.com"}) + after;
    EXPECT_EQ(renderHosts(old, {"new.com", "other.com"}, "\n"),
              before + block({"new.com", "other.com"}) + after);
}

TEST(RenderHosts, FirstWriteAppendsAfterTheUserLines) {
    EXPECT_EQ(renderHosts("127.0.0.1 localhost\n", {"x.com"}, "\n"),
              "127.0.0.1 localhost\n" + block({"x.com"}));
    // A last line without a line end gets one before the block.
    EXPECT_EQ(renderHosts("127.0.0.1 localhost", {"x.com"}, "\n"),
              "127.0.0.1 localhost\n" + block({"x.com"}));
    // Nothing to block: a file without a block is not touched.
    EXPECT_EQ(renderHosts("127.0.0.1 localhost", {}, "\r\n"), "127.0.0.1 localhost");
}

TEST(RenderHosts, RepeatedWritesAreIdempotentAndLiftingLeavesLocalhostAlone) {
    const std::string user = "127.0.1.1 box\n";
    const std::string once = renderHosts(user, {"a.com", "b.com"}, "\n");
    EXPECT_EQ(renderHosts(once, {"a.com", "b.com"}, "\n"), once);
    const std::string lifted = renderHosts(once, {}, "\n");
    EXPECT_EQ(lifted, user + block({}));
    EXPECT_EQ(renderHosts(lifted, {"a.com", "b.com"}, "\n"), once);
}

TEST(RenderHosts, StaleBlocksAreReplacedByOneWhereTheFirstStood) {
    const std::string old =
        "head\n" + block({"one.com"}) + "middle\n" + block({"two.com", "three.com"}) + block({}) + "tail\n";
    EXPECT_EQ(renderHosts(old, {"new.com"}, "\n"), "head\n" + block({"new.com"}) + "middle\ntail\n");
}

TEST(RenderHosts, LostEndMarkerTakesOnlyTheProgramLinesAfterTheBegin) {
    const std::string old = "head\n" + kBegin + "\n127.0.0.1       localhost\n127.0.0.1       a.com\r\n" +
                            "127.0.0.1 box.lan\n127.0.0.1       kept.com\n";
    EXPECT_EQ(renderHosts(old, {"b.com"}, "\n"),
              "head\n" + block({"b.com"}) + "127.0.0.1 box.lan\n127.0.0.1       kept.com\n");
    // At the end of the file, the last program line lacking its line end.
    EXPECT_EQ(renderHosts(kBegin + "\n127.0.0.1       a.com", {}, "\n"), block({}));
}

// Only a block the program wrote, which starts with a begin marker, takes lines of the program's
// shape away; a user may well write such a line of their own.
TEST(RenderHosts, LoneAndRepeatedMarkersTakeOnlyTheLinesOfABlockThatBegan) {
    const std::string mine = "127.0.0.1       mine.com\n";
    const struct {
        const char* what;
        std::string old;
        std::string rendered;
    } cases[] = {
        {"an end marker alone",
         "127.0.0.1 box\n# mine\n127.0.0.1       localhost\n" + mine + kEnd + "\ntail\n",
         "127.0.0.1 box\n# mine\n127.0.0.1       localhost\n" + mine + block({"b.com"}) + "tail\n"},
        {"an end marker alone at the top", kEnd + "\n" + mine, block({"b.com"}) + mine},
        {"an end marker after a block", block({"a.com"}) + mine + kEnd + "\n", block({"b.com"}) + mine},
        {"an end marker before a block", mine + kEnd + "\n" + block({"a.com"}), mine + block({"b.com"})},
        {"a begin marker twice", kBegin + "\n" + kBegin + "\n127.0.0.1       a.com\n" + kEnd + "\n" + mine,
         block({"b.com"}) + mine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string once = renderHosts(c.old, {"b.com"}, "\n");
        EXPECT_EQ(once, c.rendered);
        EXPECT_EQ(renderHosts(once, {"b.com"}, "\n"), once);
    }
}

// An in-place rewrite cut short before the file was cut to length leaves NUL bytes at its end.
TEST(RenderHosts, FillerAtTheEndIsDroppedAndNeverBecomesALine) {
    const std::string filler(40, '\0');
    const struct {
        const char* what;
        std::string old;
        std::string rendered;
    } cases[] = {
        {"after the block", "u\n" + block({"a.com"}) + filler, "u\n" + block({"b.com"})},
        {"after a last line without a line end", block({"a.com"}) + "10.0.0.1 nas" + filler,
         block({"b.com"}) + "10.0.0.1 nas"},
        {"the whole file", filler, block({"b.com"})},
        {"inside a line, which is the user's", std::string("a\0b\n", 4),
         std::string("a\0b\n", 4) + block({"b.com"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(renderHosts(c.old, {"b.com"}, "\n"), c.rendered);
    }
}

TEST(RenderHosts, UserLinesWrittenBetweenTheMarkersMoveBelowTheBlock) {
    const std::string old = "u1\n" + kBegin +
                            "\n127.0.0.1       a.com\n10.0.0.5 nas\n127.0.0.1       b.com\n# x\n" + kEnd +
                            "\nu2\n";
    EXPECT_EQ(renderHosts(old, {"c.com"}, "\n"), "u1\n" + block({"c.com"}) + "10.0.0.5 nas\n# x\nu2\n");
}

TEST(RenderHosts, BeginMarkerFollowedByAnotherBlockFolds) {
    const std::string old = "u1\n" + kBegin + "\n127.0.0.1       a.com\n" + block({"b.com"}) + "u2\n";
    EXPECT_EQ(renderHosts(old, {"c.com"}, "\n"), "u1\n" + block({"c.com"}) + "u2\n");
}

TEST(RenderHosts, MarkersAreFoundThroughBlanksAndAnyLineEnd) {
    const std::string old = "u1\r\n  " + kBegin + " \t\r\n127.0.0.1       a.com\r\n\t" + kEnd + "\r\nu2\r\n";
    EXPECT_EQ(renderHosts(old, {"b.com"}, "\r\n"), "u1\r\n" + block({"b.com"}, "\r\n") + "u2\r\n");
}

TEST(RenderHosts, UserLineEndsStayWhileTheBlockUsesTheGivenOne) {
    const std::string crlf = "127.0.0.1 localhost\r\n::1 localhost\r\n";
    EXPECT_EQ(renderHosts(crlf, {"x.com"}, "\n"), crlf + block({"x.com"}));
    const std::string lf = "127.0.0.1 localhost\n";
    EXPECT_EQ(renderHosts(lf, {"x.com"}, "\r\n"), lf + block({"x.com"}, "\r\n"));
    // A CR that ends no line is part of the user's line.
    const std::string odd = "a\rb\n";
    EXPECT_EQ(renderHosts(odd + block({}), {}, "\n"), odd + block({}));
}

TEST(RenderHosts, NamesThatCannotStandOnALineAreLeftOut) {
    EXPECT_FALSE(isWritableSite(""));
    EXPECT_FALSE(isWritableSite("a.com\n127.0.0.1 bank.com"));
    EXPECT_FALSE(isWritableSite("a.com\r"));
    EXPECT_FALSE(isWritableSite(std::string("a\0b", 3)));
    EXPECT_FALSE(isWritableSite("a b.net"));
    EXPECT_FALSE(isWritableSite("https://a.com"));
    EXPECT_TRUE(isWritableSite("a.com"));
    // A name carrying an end marker would otherwise split the block and leave its tail behind for good.
    const std::vector<std::string> sites{"a.com", "x.com\n" + kEnd + "\n127.0.0.1       stuck.com", "",
                                         "b.com"};
    const std::string once = renderHosts("u\n", sites, "\n");
    EXPECT_EQ(once, "u\n" + block({"a.com", "b.com"}));
    EXPECT_EQ(renderHosts(once, {}, "\n"), "u\n" + block({}));
}

TEST(RenderHosts, OtherUsersPartsStayByteForByteAndOnlyLockedLinesOfNobodysStay) {
    const std::string other = std::string(kHostsPartPrefix) + "4242\r\n127.0.0.1       theirs.example\r\n" +
                              "127.0.0.1       old.example # locked until 2001-01-01T00:00:00Z\n";
    // A block of an earlier version: its lines are nobody's; a lock on localhost was never one.
    const std::string old =
        "127.0.1.1\tbox.lan box\n" + kBegin + "\n127.0.0.1       localhost\n" +
        "127.0.0.1       gone.example\n" + "127.0.0.1       localhost # locked until 2099-01-01T00:00:00Z\n" +
        "127.0.0.1       kept.example # locked until 2099-01-01T00:00:00Z\n" + other + kEnd + "\n";
    const std::string once = renderHosts(old, {"mine.example", "box.lan", "BOX"}, "\n");
    EXPECT_EQ(once, "127.0.1.1\tbox.lan box\n" + kBegin + "\n127.0.0.1       localhost\n" +
                        "127.0.0.1       kept.example # locked until 2099-01-01T00:00:00Z\n" + other + kPart +
                        "\n127.0.0.1       mine.example\n" + kEnd + "\n")
        << "the machine's own names are never written";
    EXPECT_EQ(renderHosts(once, {"mine.example"}, "\n"), once);
    // This user's lift leaves the others.
    EXPECT_EQ(partLines(renderHosts(once, {}, "\n"), "4242").size(), 2u);
}

// Random files built from user lines, markers and program lines in every arrangement: every line that
// is neither a marker nor of the program's shape must survive in order, one block must come out, and
// a second write must change nothing.
std::vector<std::string> userLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        if (lf == std::string::npos)
            lf = bytes.size();
        std::string line = bytes.substr(start, lf - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find(kBegin) == std::string::npos && line.find(kEnd) == std::string::npos &&
            !line.starts_with("127.0.0.1       ") && !line.starts_with(kHostsPartPrefix))
            lines.push_back(line);
        start = lf + 1;
    }
    return lines;
}

TEST(RenderHosts, RandomFilesKeepUserLinesAndEndWithOneBlock) {
    const std::vector<std::string> pieces{kBegin,
                                          kEnd,
                                          " " + kBegin + "\r",
                                          "127.0.0.1       x.com",
                                          "127.0.0.1       localhost",
                                          "127.0.0.1 box",
                                          "# note",
                                          "",
                                          "::1 localhost",
                                          "\r",
                                          "a\rb",
                                          kPart,
                                          std::string(kHostsPartPrefix) + "4242",
                                          "127.0.0.1       localhost # locked until 2099-01-01T00:00:00Z"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        std::string old;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            old += pieces[random() % pieces.size()];
            if (i + 1 < count || random() % 2)
                old += random() % 2 ? "\n" : "\r\n";
        }
        const std::string once = renderHosts(old, {"s.com"}, "\n");
        SCOPED_TRACE(::testing::Message() << "old: " << ::testing::PrintToString(old));
        ASSERT_EQ(renderHosts(once, {"s.com"}, "\n"), once);
        ASSERT_EQ(userLines(once), userLines(old));
        ASSERT_NE(once.find(kPart + "\n127.0.0.1       s.com\n"), std::string::npos);
        ASSERT_EQ(once.find(kBegin), once.rfind(kBegin));
        // Lifting takes what a write replaces and leaves nothing of the program's to take again.
        const std::optional<std::string> lifted = withoutHostsBlocks(old);
        ASSERT_EQ(userLines(lifted.value_or(old)), userLines(old));
        if (lifted)
            ASSERT_FALSE(withoutHostsBlocks(*lifted));
    }
}

// What an uninstaller leaves: the lines a write would replace taken out, every other byte kept; the
// same cases as the Debian package's removal.
TEST(WithoutHostsBlocks, TakesOutTheProgramsLinesAndKeepsEveryOtherByte) {
    const std::string site = "127.0.0.1       blocked.example";
    const std::string localhost = "127.0.0.1       localhost";
    const struct {
        const char* what;
        std::string old;
        std::optional<std::string> lifted;
    } cases[] = {
        {"in the middle", "127.0.0.1\tlocalhost\n" + block({"blocked.example"}) + "::1\tip6-localhost\n",
         "127.0.0.1\tlocalhost\n::1\tip6-localhost\n"},
        {"CR LF", "a\r\n" + block({"blocked.example"}, "\r\n") + "b\r\n", "a\r\nb\r\n"},
        {"a last line without a line end", block({"x.com"}) + "user line", "user line"},
        {"the end marker without a line end", "a\n" + kBegin + "\n" + site + "\n" + kEnd, "a\n"},
        {"blanks around the markers", "a\n  " + kBegin + " \t\n" + site + "\n\t" + kEnd + "\r\n", "a\n"},
        {"a user's lines inside",
         kBegin + "\n# my note\n" + site + "\n127.0.0.1 mine.example\n" + kEnd + "\n",
         "# my note\n127.0.0.1 mine.example\n"},
        {"the end marker lost",
         "a\n" + kBegin + "\n" + localhost + "\n" + site + "\nuser line\n" + site + "\n",
         "a\nuser line\n" + site + "\n"},
        {"two blocks", block({"x.com"}) + "a\n" + block({"y.com"}), "a\n"},
        {"every user's part",
         "a\n" + kBegin + "\n" + localhost + "\n" + kPart + "\n" + site +
             "\n# Tallowby sites of user 1001\n" +
             "127.0.0.1       other.example\n# mine\n# Tallowby sites of user S-1-5-21-7\n" + kEnd + "\nb\n",
         "a\n# mine\nb\n"},
        {"a part whose end marker was lost",
         kBegin + "\n# Tallowby sites of user 1001\n" + site + "\nuser line\n", "user line\n"},
        {"an end marker alone", site + "\n" + kEnd + "\n", site + "\n"},
        {"filler after the block", "a\n" + block({"x.com"}) + std::string(8, '\0'), "a\n"},
        {"no block", "127.0.0.1\tlocalhost\n# BEGIN Tallowby\n" + site + "\n", std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(withoutHostsBlocks(c.old), c.lifted);
    }
}

// What a write leaves of locks, the file's and the request's, at now = 1000.
TEST(SiteLocks, AWriteKeepsWhatTheFileLocksBeyondNowUnlessItLiftsEarly) {
    constexpr std::int64_t now = 1000;
    const auto request = [](std::vector<std::string> sites, SiteLocks locks, bool liftEarly = false) {
        BlockRequest made(std::move(sites));
        made.lockedUntil = std::move(locks);
        made.liftEarly = liftEarly;
        return made;
    };
    const struct {
        const char* what;
        std::vector<BlockLine> old;
        BlockRequest request;
        std::vector<BlockLine> left;
    } cases[] = {
        {"a lock reaches a day and an hour at most",
         {},
         request({"a.com"}, {{"a.com", now + 999999}}),
         {{"a.com", now + kLongestLockSeconds}}},
        {"a time not beyond now locks nothing", {}, request({"a.com"}, {{"a.com", now}}), {{"a.com", 0}}},
        {"a locked site the request leaves out stays, after those asked for",
         {{"a.com", now + 60}, {"b.com", 0}},
         request({"c.com"}, {}),
         {{"c.com", 0}, {"a.com", now + 60}}},
        {"a shorter lock asked for keeps the longer one",
         {{"a.com", now + 60}},
         request({"a.com"}, {{"a.com", now + 30}}),
         {{"a.com", now + 60}}},
        {"a lock whose time has come goes", {{"a.com", now}}, request({}, {}), {}},
        {"lifting early keeps only what is asked for",
         {{"a.com", now + 60}, {"b.com", now + 60}},
         request({"b.com"}, {{"b.com", now + 30}}, true),
         {{"b.com", now + 30}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mergedBlock(c.old, c.request, now), c.left) << c.what;

    // The lock is written beside its site and read back; anything else after a site is no lock.
    const std::int64_t leapDay = 1709210096; // 2024-02-29T12:34:56Z
    EXPECT_EQ(lockText(leapDay), " # locked until 2024-02-29T12:34:56Z");
    EXPECT_EQ(readBlockLine("a.com" + lockText(leapDay)), (BlockLine{"a.com", leapDay}));
    for (const char* odd : {"a.com # locked until 2023-02-29T12:34:56Z", "a.com # locked until tomorrow",
                            "a.com # locked until 2024-02-29T12:34:56Z and more"})
        EXPECT_EQ(readBlockLine(odd).lockedUntil, 0) << odd;
    const std::string locked = renderHosts("", request({"a.com"}, {{"a.com", leapDay}}), leapDay - 5, "\n");
    EXPECT_TRUE(hostsHold(locked, BlockRequest{}, leapDay - 5, "\n")) << "a write of nothing leaves it";
    EXPECT_FALSE(hostsHold(locked, BlockRequest{}, leapDay, "\n")) << "its time has come";
}

} // namespace
} // namespace tallowby::platform
