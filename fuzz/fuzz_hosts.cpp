// Hosts files as users, other programs and cut-short writes leave them: markers alone, repeated or in
// any order, lines of the program's own shape anywhere, filler at the end. Three bytes of the input
// stand for the program's begin marker, end marker and line prefix, so that the fuzzer reaches them
// at once; every other byte stands for itself. The rendering must keep every line of the user's,
// keep whatever stands before the first begin marker (no block of the program's can hold it), leave
// one block, and change nothing when it is rendered again.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hosts/hosts_content.h"
#include "platform/hosts_io.h"

namespace {

using namespace tallowby::platform;

const std::vector<std::string> kSites{"s.example.com", "t.example.org"};

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string decode(std::string_view input) {
    std::string content;
    for (const char c : input) {
        switch (c) {
        case '\x01':
            content += kHostsBeginMarker;
            break;
        case '\x02':
            content += kHostsEndMarker;
            break;
        case '\x03':
            content += kHostsLinePrefix;
            break;
        case '\x04':
            content += " # locked until 2023-11-1";
            break;
        default:
            content += c;
        }
    }
    return content;
}

enum class Kind { Begin, End, Program, User };

struct Line {
    std::string text; // without its line end
    Kind kind;
};

Kind kindOf(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    const auto last = text.find_last_not_of(" \t\r");
    const std::string_view trimmed =
        first == std::string_view::npos ? "" : text.substr(first, last - first + 1);
    if (trimmed == kHostsBeginMarker)
        return Kind::Begin;
    if (trimmed == kHostsEndMarker)
        return Kind::End;
    // A user's part of the block opens with a heading of the program's own.
    if (text.starts_with(kHostsPartPrefix))
        return Kind::Program;
    return text.size() > kHostsLinePrefix.size() && text.starts_with(kHostsLinePrefix) ? Kind::Program
                                                                                       : Kind::User;
}

std::vector<Line> linesOf(std::string_view content) {
    std::vector<Line> lines;
    while (!content.empty()) {
        const std::size_t lf = content.find('\n');
        // A CR at the end of a line belongs to its line end, even on a last line without an LF.
        std::string_view text = content.substr(0, lf);
        if (text.ends_with('\r'))
            text.remove_suffix(1);
        lines.push_back({std::string(text), kindOf(text)});
        content.remove_prefix(lf == std::string_view::npos ? content.size() : lf + 1);
    }
    return lines;
}

std::vector<std::string> textsOf(const std::vector<Line>& lines, bool (*keep)(const Line&)) {
    std::vector<std::string> texts;
    for (const auto& line : lines)
        if (keep(line))
            texts.push_back(line.text);
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string old = decode(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string once = renderHosts(old, kSites, "\n");
    check(renderHosts(once, kSites, "\n") == once, "a second rendering changes the file");
    // The writer's part holds every site but those the file's own lines give the machine.
    std::vector<std::string> wanted = kSites;
    const std::vector<std::string> machine = machineNames(old, "");
    std::erase_if(wanted, [&machine](const std::string& site) { return isMachineName(machine, site); });
    const std::vector<BlockLine> part = partLines(once, hosts_io::thisUser());
    check(std::equal(part.begin(), part.end(), wanted.begin(), wanted.end(),
                     [](const BlockLine& line, const std::string& site) { return line.site == site; }),
          "the writer's part is missing");

    // Locks the input holds (a '\x04' stands for a lock's mark) are kept by a write of nothing and
    // the result is a fixed point; lifting early leaves no lock in the writer's part.
    constexpr std::int64_t kNow = 1700000000;
    const std::string keptLocks = renderHosts(old, BlockRequest{}, kNow, "\n");
    check(hostsHold(keptLocks, BlockRequest{}, kNow, "\n"), "a write of nothing does not hold");
    check(locksStaying(blockLines(keptLocks), BlockRequest{}, kNow) ==
              locksStaying(blockLines(old), BlockRequest{}, kNow),
          "a lock beyond now was lost or made up");
    BlockRequest lift;
    lift.liftEarly = true;
    check(nextLockEnd(partLines(renderHosts(keptLocks, lift, kNow, "\n"), hosts_io::thisUser()), kNow) ==
              std::nullopt,
          "lifting early left a lock");

    // Filler at the end is what a cut-short rewrite leaves: it must not change the outcome.
    while (!old.empty() && old.back() == '\0')
        old.pop_back();
    check(renderHosts(old + std::string(1 + size % 64, '\0'), kSites, "\n") == once,
          "filler changes the outcome");

    const std::vector<Line> before = linesOf(old);
    const std::vector<Line> after = linesOf(once);
    const auto isUser = [](const Line& line) { return line.kind == Kind::User; };
    check(textsOf(before, isUser) == textsOf(after, isUser), "a line of the user's was lost or moved");
    check(
        std::count_if(after.begin(), after.end(), [](const Line& l) { return l.kind == Kind::Begin; }) == 1 &&
            std::count_if(after.begin(), after.end(), [](const Line& l) { return l.kind == Kind::End; }) == 1,
        "not exactly one pair of markers");

    // Before the first begin marker no block of the program's stands, so lines of its shape there are
    // the user's and stay, in order, around the one block.
    const auto firstBegin =
        std::find_if(before.begin(), before.end(), [](const Line& l) { return l.kind == Kind::Begin; });
    std::vector<Line> head(before.begin(), firstBegin);
    const auto blockStart =
        std::find_if(after.begin(), after.end(), [](const Line& l) { return l.kind == Kind::Begin; });
    const auto blockEnd =
        std::find_if(blockStart, after.end(), [](const Line& l) { return l.kind == Kind::End; });
    std::vector<Line> outside(after.begin(), blockStart);
    outside.insert(outside.end(), blockEnd + 1, after.end());
    const auto notMarker = [](const Line& line) {
        return line.kind != Kind::Begin && line.kind != Kind::End;
    };
    const std::vector<std::string> kept = textsOf(head, notMarker);
    const std::vector<std::string> rest = textsOf(outside, notMarker);
    check(rest.size() >= kept.size() && std::equal(kept.begin(), kept.end(), rest.begin()),
          "a line before the first begin marker was lost");
    return 0;
}
