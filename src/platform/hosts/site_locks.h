#pragma once
// Website blocks that stay until their time. A locked site stands in the program's block with the
// time it is to stay until; every write keeps it there until that time has passed, whatever the
// write asks for, unless it lifts the blocks early (which only an administrator may ask for). The
// state lives in the hosts file itself, which the user cannot edit.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::platform {

// The hosts helper's two ways of being run through pkexec, each a polkit action of its own:
// "--block" keeps every lock and asks the user at the machine for no password; "--lift-early" may
// lift the user's locked sites and asks for an administrator's.
inline constexpr std::string_view kHostsHelperBlock = "--block";
inline constexpr std::string_view kHostsHelperLiftEarly = "--lift-early";
// Root's own: run by root directly (not through pkexec), the helper lifts every user's part.
inline constexpr std::string_view kHostsHelperLiftAll = "--lift-all";

// A lock never reaches further than this beyond the write that sets it: a day and an hour, for the
// longest day of a change of clocks. So no request can lock a site out for good.
inline constexpr std::int64_t kLongestLockSeconds = 25 * 60 * 60;

// Seconds since the epoch until which each named site is to stay blocked.
using SiteLocks = std::map<std::string, std::int64_t, std::less<>>;

// What a write asks the program's block to hold.
struct BlockRequest {
    // In order, as written (no de-duplication).
    std::vector<std::string> sites;
    // Sites of `sites` that are to stay until a time; the others are not locked.
    SiteLocks lockedUntil;
    // Locked sites of the file that `sites` leaves out go as well, their time passed or not.
    bool liftEarly = false;
    // With liftEarly: every user's part goes, and the lines of nobody's, not the writer's alone.
    bool liftEveryPart = false;

    BlockRequest() = default;
    BlockRequest(std::vector<std::string> blocked) : sites(std::move(blocked)) {}
    BlockRequest(std::initializer_list<std::string> blocked) : sites(blocked) {}
    bool operator==(const BlockRequest&) const = default;
};

// One site line of the block; lockedUntil 0: not locked.
struct BlockLine {
    std::string site;
    std::int64_t lockedUntil = 0;
    bool operator==(const BlockLine&) const = default;
};

// What follows the site on a locked line: " # locked until 2026-12-08T16:00:00Z" (UTC). The
// resolver reads everything after "#" as a comment.
std::string lockText(std::int64_t until);

// A line of the block after its address and blanks: the site and its lock. A lock that does not
// read exactly as lockText writes it is no lock, and the rest of the line is then all site.
BlockLine readBlockLine(std::string_view text);

// The block a write leaves: the requested sites in order, each locked until the later of its
// requested time (never beyond kLongestLockSeconds from now) and the time the file already locks
// it until; then, unless the blocks are lifted early, every site the file locks beyond now that
// the request leaves out, in the file's order. Times not beyond now lock nothing.
std::vector<BlockLine> mergedBlock(const std::vector<BlockLine>& old, const BlockRequest& request,
                                   std::int64_t now);

// The sites of `old` that stay although the request leaves them out: locked beyond now.
std::vector<BlockLine> locksStaying(const std::vector<BlockLine>& old, const BlockRequest& request,
                                    std::int64_t now);

// The first lock of `old` to end after now, if any.
std::optional<std::int64_t> nextLockEnd(const std::vector<BlockLine>& old, std::int64_t now);

// Whether `old` holds a lock whose time has come: the next write leaves its site out.
bool lockPassed(const std::vector<BlockLine>& old, std::int64_t now);

} // namespace tallowby::platform
