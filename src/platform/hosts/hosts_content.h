#pragma once
// The bytes of a hosts file that carries the program's blocked sites. The program's lines stand in
// one block between two marker comments; every other line belongs to the user (on Linux the lines
// that resolve the machine's own name) and is kept byte for byte. Pure: no files are touched here.
//
// Several users of one machine share the block, each with a part of their own: a comment line
// naming the user opens the part, and the user's sites follow it. A write changes the writer's part
// alone; every other part stays byte for byte. Lines of a block written before there were parts
// belong to nobody: a write keeps those that are locked beyond now, the others go.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hosts/site_locks.h"

namespace tallowby::platform {

inline constexpr std::string_view kHostsBeginMarker =
    "# BEGIN Tallowby blocked sites - managed by Tallowby, do not edit";
inline constexpr std::string_view kHostsEndMarker = "# END Tallowby blocked sites";
// The address and seven spaces that start every line of the block but the markers.
inline constexpr std::string_view kHostsLinePrefix = "127.0.0.1       ";
inline constexpr std::string_view kHostsLocalhostLine = "127.0.0.1       localhost";
// Followed by the owner: "# Tallowby sites of user 1000" (a SID on Windows).
inline constexpr std::string_view kHostsPartPrefix = "# Tallowby sites of user ";

// Who writes a part, and how its lines end (the user's lines keep theirs).
struct HostsWriter {
    // The owner of the part written: see hosts_io::thisUser(). Letters, digits and "-" only.
    std::string owner;
    std::string lineEnd = "\n";
    // The machine's own name (hosts_io::machineName()), never blocked.
    std::string machineName;
};

// This process's user writing with these line ends.
HostsWriter thisWriter(std::string_view lineEnd);

// Whether a site may be written into the block: a plain host name (store::isPlainHostName). An
// empty name would leave a line without a name, a line break would let a name write lines (even
// markers) of its own into a system file, and the privileged helper takes nothing else.
bool isWritableSite(std::string_view site);

// The names the content's own lines give this machine (those of a loopback address, 127.0.0.0/8 or
// ::1, outside the program's block) and machineName: never written into the block, which would take
// them from the machine's own lines.
std::vector<std::string> machineNames(std::string_view content, std::string_view machineName);
// Whether the site is one of them, whatever its capitals.
bool isMachineName(const std::vector<std::string>& machineNames, std::string_view site);

// The block of an empty file after this user wrote the sites: the begin marker, the localhost line,
// the user's part with one line per writable site exactly as given and in order (no
// de-duplication), the end marker; nothing at all without sites.
std::string renderHostsBlock(const std::vector<std::string>& sites, std::string_view lineEnd);

// oldContent after this user's write of exactly these sites, none of them locked, whatever the file
// locked (see planHostsWrite for the rest).
std::string renderHosts(std::string_view oldContent, const std::vector<std::string>& sites,
                        std::string_view lineEnd);

// The same with the block a write of this request leaves at `now` (seconds since the epoch): the
// sites the writer's part locks beyond now stay, unless the request lifts them early (see
// mergedBlock).
std::string renderHosts(std::string_view oldContent, const BlockRequest& request, std::int64_t now,
                        std::string_view lineEnd);

// content with the program's blocks taken out, every user's part with them: the lines a write would
// replace, and nothing else; every other line stays byte for byte. Nothing when content holds none
// of the program's lines, so a file without them is never rewritten. What an uninstaller leaves,
// once no program keeps a block.
std::optional<std::string> withoutHostsBlocks(std::string_view content);

// The site lines of the program's blocks in content, of every part, with their locks.
std::vector<BlockLine> blockLines(std::string_view content);
// Those of one owner's part.
std::vector<BlockLine> partLines(std::string_view content, std::string_view owner);

// What a write of the request by the writer at `now` does to content: the writer's part as the file
// holds it now, the part it is to hold, and the new content, which is left out when the file holds
// that part already. The block goes where the first old one stood (stale blocks are merged into
// it), else at the end; markers and lines of the program's own shape are removed, any other line
// (even one between the markers) stays. No block is left when no part holds a site and no line of
// nobody's is locked. NUL bytes at the very end are dropped: they are the filler of an in-place
// rewrite cut short. A refusal names why in plain words; the content is then left out.
struct HostsWritePlan {
    std::vector<BlockLine> oldPart;
    std::vector<BlockLine> part;
    std::optional<std::string> content;
    std::string refusal;
};
HostsWritePlan planHostsWrite(std::string_view content, const BlockRequest& request, std::int64_t now,
                              const HostsWriter& writer);

// Whether content is what a write of the request at `now` would leave (see HostsWritePlan).
bool hostsHold(std::string_view content, const BlockRequest& request, std::int64_t now,
               std::string_view lineEnd);
// The same for exactly these sites, none of them locked, whatever the file locked.
bool hostsHold(std::string_view content, const std::vector<std::string>& sites, std::string_view lineEnd);

} // namespace tallowby::platform
