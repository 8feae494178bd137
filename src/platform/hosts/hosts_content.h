#pragma once
// The bytes of a hosts file that carries the program's blocked sites. The program's lines stand in
// one block between two marker comments; every other line belongs to the user (on Linux the lines
// that resolve the machine's own name) and is kept byte for byte. Pure: no files are touched here.
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

// Whether a site is written into the block: only a plain host name. An empty name would leave a line
// without a name, a line break would let a name write lines (even markers) of its own into a system
// file, and the privileged helper takes nothing else, so both ways of writing block the same sites.
bool isWritableSite(std::string_view site);

// The block: the begin marker, the localhost line, one line per writable site exactly as given and
// in order (no de-duplication), the end marker; every line ended by lineEnd.
std::string renderHostsBlock(const std::vector<std::string>& sites, std::string_view lineEnd);

// oldContent with its blocks replaced by one new block. The block goes where the first old one
// stood, else at the end (a last line without a line end gets lineEnd first). Only markers and lines
// of the program's own shape are removed: between a begin and an end marker all of those, and after
// a begin marker whose end was lost those directly after it. An end marker without its begin is
// removed alone: the lines above it were never shown to be the program's. Any other line, even one
// between the markers, is kept as it is. NUL bytes at the very end are dropped: they are the filler
// of an in-place rewrite that was cut short before the file was cut to its new length.
std::string renderHosts(std::string_view oldContent, const std::vector<std::string>& sites,
                        std::string_view lineEnd);

// The same with the block a write of this request leaves at `now` (seconds since the epoch): the
// sites the file locks beyond now stay, unless the request lifts them early (see mergedBlock).
std::string renderHosts(std::string_view oldContent, const BlockRequest& request, std::int64_t now,
                        std::string_view lineEnd);

// content with the program's blocks taken out: the lines renderHosts would replace, and nothing else;
// every other line stays byte for byte. Nothing when content holds none of the program's lines, so a
// file without them is never rewritten. What an uninstaller leaves, once no program keeps a block.
std::optional<std::string> withoutHostsBlocks(std::string_view content);

// The site lines of the program's blocks in content, with their locks.
std::vector<BlockLine> blockLines(std::string_view content);

// What a write of the request at `now` does to content: the block the file holds now, the block it
// is to hold, and the new content, which is left out when content already holds that block. For a
// block with no sites a file that holds none of the program's lines holds it as well: nothing is
// blocked, and nothing is left to lift, so the file is not written (which an ordinary user could
// only do through an administrator).
struct HostsWritePlan {
    std::vector<BlockLine> oldBlock;
    std::vector<BlockLine> block;
    std::optional<std::string> content;
};
HostsWritePlan planHostsWrite(std::string_view content, const BlockRequest& request, std::int64_t now,
                              std::string_view lineEnd);
// Whether content is what a write of the request at `now` would leave (see HostsWritePlan).
bool hostsHold(std::string_view content, const BlockRequest& request, std::int64_t now,
               std::string_view lineEnd);
// The same for exactly these sites, none of them locked, whatever the file locked.
bool hostsHold(std::string_view content, const std::vector<std::string>& sites, std::string_view lineEnd);

} // namespace tallowby::platform
