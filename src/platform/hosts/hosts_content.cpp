#include "platform/hosts/hosts_content.h"

#include "platform/hosts/hosts_bounds.h"
#include "platform/hosts_io.h"
#include "store/host_names.h"

#include <algorithm>

namespace tallowby::platform {

namespace {

struct HostsLine {
    std::string_view bytes; // as stored, with its line end
    std::string_view text;  // without the line end (LF, or CR LF)
};

// Only LF ends a line, as for the system's resolver; a CR before it is part of the line end, any
// other CR is part of the line.
std::vector<HostsLine> splitKeepingEnds(std::string_view content) {
    std::vector<HostsLine> lines;
    lines.reserve(static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) + 1);
    while (!content.empty()) {
        const std::size_t lf = content.find('\n');
        const std::size_t length = lf == std::string_view::npos ? content.size() : lf + 1;
        HostsLine line{content.substr(0, length), content.substr(0, length)};
        if (line.text.ends_with('\n'))
            line.text.remove_suffix(1);
        if (line.text.ends_with('\r'))
            line.text.remove_suffix(1);
        lines.push_back(line);
        content.remove_prefix(length);
    }
    return lines;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// A marker is still recognised after an editor added or removed blanks around it.
bool isMarker(const HostsLine& line, std::string_view marker) {
    std::string_view text = line.text;
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text == marker;
}

bool isOwnerCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The owner a part's opening line names; nothing for any other line.
std::optional<std::string_view> partOwner(std::string_view text) {
    constexpr std::size_t kLongestOwner = 200;
    if (!text.starts_with(kHostsPartPrefix))
        return std::nullopt;
    const std::string_view owner = text.substr(kHostsPartPrefix.size());
    if (owner.empty() || owner.size() > kLongestOwner || !std::ranges::all_of(owner, isOwnerCharacter))
        return std::nullopt;
    return owner;
}

bool isSiteLine(const HostsLine& line) {
    return line.text.size() > kHostsLinePrefix.size() && line.text.starts_with(kHostsLinePrefix);
}

bool looksLikeProgramLine(const HostsLine& line) {
    return isSiteLine(line) || partOwner(line.text).has_value();
}

// Marks the lines that belong to blocks of the program: the markers, the program's lines between a
// begin and an end marker, and those directly after a begin marker whose end was lost. Only a marker
// or a line of the program's own shape is ever taken, so no line of the user is lost, not even one
// written between the markers. An end marker alone proves nothing about the lines above it (the user
// may have cut the block's head away together with the begin marker and written lines of the same
// shape there), so they stay.
std::vector<bool> programLines(const std::vector<HostsLine>& lines) {
    const std::size_t count = lines.size();
    std::vector<bool> own(count, false);
    std::size_t i = 0;
    while (i < count) {
        if (isMarker(lines[i], kHostsBeginMarker)) {
            std::size_t end = i + 1;
            while (end < count && !isMarker(lines[end], kHostsBeginMarker) &&
                   !isMarker(lines[end], kHostsEndMarker))
                ++end;
            own[i] = true;
            const bool closed = end < count && isMarker(lines[end], kHostsEndMarker);
            std::size_t next = i + 1;
            for (; next < end && (closed || looksLikeProgramLine(lines[next])); ++next)
                own[next] = looksLikeProgramLine(lines[next]);
            if (closed) {
                own[end] = true;
                next = end + 1;
            }
            i = next;
        } else {
            own[i] = isMarker(lines[i], kHostsEndMarker);
            ++i;
        }
    }
    return own;
}

// An in-place rewrite writes NUL bytes over the old text that runs on beyond the new one before it
// cuts the file to length; a rewrite cut short between the two leaves them at the end. No text file
// holds them, and the resolver reads them as nothing.
std::string_view withoutRewriteFiller(std::string_view content) {
    const std::size_t last = content.find_last_not_of('\0');
    return content.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

struct Part {
    std::string owner;
    std::string bytes; // every line of the part as stored, its opening lines included
    std::vector<BlockLine> sites;
};

// The program's lines of a file, sorted by whom they belong to.
struct Block {
    std::vector<HostsLine> lines;
    std::vector<bool> own;
    std::vector<BlockLine> nobodys;
    std::vector<Part> parts; // in the order they first appear
    bool any = false;        // whether the file holds any line of the program's

    Part* find(std::string_view owner) {
        const auto part = std::ranges::find(parts, owner, &Part::owner);
        return part == parts.end() ? nullptr : &*part;
    }
};

Block readBlock(std::string_view content) {
    Block block;
    block.lines = splitKeepingEnds(withoutRewriteFiller(content));
    block.own = programLines(block.lines);
    Part* current = nullptr;
    for (std::size_t i = 0; i < block.lines.size(); ++i) {
        if (!block.own[i])
            continue;
        block.any = true;
        const HostsLine& line = block.lines[i];
        if (isMarker(line, kHostsBeginMarker) || isMarker(line, kHostsEndMarker)) {
            current = nullptr;
        } else if (const std::optional<std::string_view> owner = partOwner(line.text)) {
            current = block.find(*owner);
            if (current == nullptr)
                current = &block.parts.emplace_back(Part{std::string(*owner), {}, {}});
            current->bytes += line.bytes;
        } else if (current != nullptr) {
            current->bytes += line.bytes;
            current->sites.push_back(readBlockLine(line.text.substr(kHostsLinePrefix.size())));
        } else if (line.text != kHostsLocalhostLine) {
            block.nobodys.push_back(readBlockLine(line.text.substr(kHostsLinePrefix.size())));
        }
    }
    return block;
}

void appendLine(std::string& out, std::string_view text, std::string_view lineEnd) {
    out += text;
    out += lineEnd;
}

void appendSites(std::string& out, const std::vector<BlockLine>& sites, std::string_view lineEnd) {
    for (const BlockLine& line : sites) {
        if (!isWritableSite(line.site))
            continue;
        out += kHostsLinePrefix;
        out += line.site;
        if (line.lockedUntil != 0)
            out += lockText(line.lockedUntil);
        out += lineEnd;
    }
}

std::string renderPart(std::string_view owner, const std::vector<BlockLine>& sites,
                       std::string_view lineEnd) {
    std::string out;
    if (sites.empty())
        return out;
    out.reserve(kHostsPartPrefix.size() + owner.size() + sites.size() * (kHostsLinePrefix.size() + 80));
    out += kHostsPartPrefix;
    appendLine(out, owner, lineEnd);
    appendSites(out, sites, lineEnd);
    return out;
}

// The block with the writer's part replaced by ownPart (rendered), the other parts as stored and
// nobody's lines that are still locked; empty when none of them holds a line.
std::string renderBlock(const Block& block, std::string_view owner, const std::string& ownPart,
                        const std::vector<BlockLine>& nobodys, std::string_view lineEnd) {
    std::string body;
    appendSites(body, nobodys, lineEnd);
    bool ownPlaced = false;
    for (const Part& part : block.parts) {
        if (part.owner == owner) {
            body += ownPart;
            ownPlaced = true;
            continue;
        }
        if (part.sites.empty())
            continue;
        body += part.bytes;
        if (!body.ends_with('\n'))
            body += lineEnd;
    }
    if (!ownPlaced)
        body += ownPart;
    if (body.empty())
        return body;
    std::string out;
    out.reserve(body.size() + kHostsBeginMarker.size() + kHostsLocalhostLine.size() + kHostsEndMarker.size() +
                8);
    appendLine(out, kHostsBeginMarker, lineEnd);
    appendLine(out, kHostsLocalhostLine, lineEnd);
    out += body;
    appendLine(out, kHostsEndMarker, lineEnd);
    return out;
}

std::string renderInto(const Block& block, const std::string& rendered, std::string_view lineEnd) {
    std::string out;
    std::size_t size = rendered.size() + lineEnd.size();
    for (const HostsLine& line : block.lines)
        size += line.bytes.size();
    out.reserve(size);
    bool placed = false;
    for (std::size_t i = 0; i < block.lines.size(); ++i) {
        if (!block.own[i]) {
            out += block.lines[i].bytes;
        } else if (!placed) {
            out += rendered;
            placed = true;
        }
    }
    if (!placed && !rendered.empty()) {
        if (!out.empty() && out.back() != '\n')
            out += lineEnd;
        out += rendered;
    }
    return out;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::ranges::transform(out, out.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; });
    return out;
}

bool isLoopbackAddress(std::string_view address) {
    return address.starts_with("127.") || address == "::1" || address == "0:0:0:0:0:0:0:1";
}

std::vector<BlockLine> lockedBeyond(const std::vector<BlockLine>& lines, std::int64_t now) {
    std::vector<BlockLine> kept;
    for (const BlockLine& line : lines)
        if (line.lockedUntil > now)
            kept.push_back(line);
    return kept;
}

std::string mib(std::size_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MiB";
}

} // namespace

HostsWriter thisWriter(std::string_view lineEnd) {
    return {hosts_io::thisUser(), std::string(lineEnd), {}};
}

bool isWritableSite(std::string_view site) {
    return store::isPlainHostName(site);
}

std::vector<std::string> machineNames(std::string_view content, std::string_view machineName) {
    std::vector<std::string> names;
    if (!machineName.empty())
        names.push_back(lowered(machineName));
    const Block block = readBlock(content);
    for (std::size_t i = 0; i < block.lines.size(); ++i) {
        if (block.own[i])
            continue;
        std::string_view text = block.lines[i].text;
        text = text.substr(0, text.find('#'));
        std::vector<std::string_view> fields;
        while (!text.empty()) {
            const std::size_t start = std::min(text.find_first_not_of(" \t\r"), text.size());
            text.remove_prefix(start);
            const std::size_t end = std::min(text.find_first_of(" \t\r"), text.size());
            if (end > 0)
                fields.push_back(text.substr(0, end));
            text.remove_prefix(end);
        }
        if (fields.size() < 2 || !isLoopbackAddress(fields.front()))
            continue;
        for (std::size_t field = 1; field < fields.size(); ++field)
            names.push_back(lowered(fields[field]));
    }
    return names;
}

bool isMachineName(const std::vector<std::string>& machineNames, std::string_view site) {
    return std::ranges::find(machineNames, lowered(site)) != machineNames.end();
}

std::string renderHostsBlock(const std::vector<std::string>& sites, std::string_view lineEnd) {
    return renderHosts("", sites, lineEnd);
}

std::string renderHosts(std::string_view oldContent, const std::vector<std::string>& sites,
                        std::string_view lineEnd) {
    BlockRequest request(sites);
    request.liftEarly = true;
    return renderHosts(oldContent, request, 0, lineEnd);
}

std::string renderHosts(std::string_view oldContent, const BlockRequest& request, std::int64_t now,
                        std::string_view lineEnd) {
    const HostsWritePlan plan = planHostsWrite(oldContent, request, now, thisWriter(lineEnd));
    return plan.content ? *plan.content : std::string(withoutRewriteFiller(oldContent));
}

std::optional<std::string> withoutHostsBlocks(std::string_view content) {
    const Block block = readBlock(content);
    if (!block.any)
        return std::nullopt;
    return renderInto(block, std::string(), "\n");
}

std::vector<BlockLine> blockLines(std::string_view content) {
    const Block block = readBlock(content);
    std::vector<BlockLine> lines = block.nobodys;
    for (const Part& part : block.parts)
        lines.insert(lines.end(), part.sites.begin(), part.sites.end());
    return lines;
}

std::vector<BlockLine> partLines(std::string_view content, std::string_view owner) {
    Block block = readBlock(content);
    const Part* part = block.find(owner);
    return part ? part->sites : std::vector<BlockLine>();
}

HostsWritePlan planHostsWrite(std::string_view content, const BlockRequest& request, std::int64_t now,
                              const HostsWriter& writer) {
    Block block = readBlock(content);
    HostsWritePlan plan;
    const Part* own = block.find(writer.owner);
    if (own)
        plan.oldPart = own->sites;
    // The machine's own names stay the machine's: its own lines resolve them.
    BlockRequest wanted = request;
    const std::vector<std::string> machine = machineNames(content, writer.machineName);
    std::erase_if(wanted.sites, [&](const std::string& site) { return isMachineName(machine, site); });
    plan.part = mergedBlock(plan.oldPart, wanted, now);
    const std::string ownPart = renderPart(writer.owner, plan.part, writer.lineEnd);
    if (request.liftEveryPart)
        block.parts.clear();
    const std::vector<BlockLine> nobodys =
        request.liftEveryPart ? std::vector<BlockLine>() : lockedBeyond(block.nobodys, now);
    const std::string rendered = renderBlock(block, writer.owner, ownPart, nobodys, writer.lineEnd);
    // The writer's part is all it compares: the others are their writers' to keep.
    // Filler of a rewrite cut short is cleared as well.
    const bool held = (own ? own->bytes : std::string()) == ownPart && !(rendered.empty() && block.any) &&
                      !request.liftEveryPart && withoutRewriteFiller(content).size() == content.size();
    if (held)
        return plan;
    std::string next = renderInto(block, rendered, writer.lineEnd);
    if (next == content)
        return plan;
    // Bounds are for what grows: a write that makes the part or the file no larger always passes.
    if (plan.part.size() > kMostPartSites && plan.part.size() > plan.oldPart.size()) {
        plan.refusal = "the websites blocked for this user would be " + std::to_string(plan.part.size()) +
                       ", locked ones included, more than the " + std::to_string(kMostPartSites) +
                       " that one user's rules can ask for at once";
        return plan;
    }
    if (next.size() > kMostHostsFileBytes && next.size() > content.size()) {
        plan.refusal = "the hosts file would grow past " + mib(kMostHostsFileBytes) +
                       ", which is more than anyone's hosts file holds";
        return plan;
    }
    plan.content = std::move(next);
    return plan;
}

bool hostsHold(std::string_view content, const BlockRequest& request, std::int64_t now,
               std::string_view lineEnd) {
    const HostsWritePlan plan = planHostsWrite(content, request, now, thisWriter(lineEnd));
    return !plan.content && plan.refusal.empty();
}

bool hostsHold(std::string_view content, const std::vector<std::string>& sites, std::string_view lineEnd) {
    BlockRequest request(sites);
    request.liftEarly = true;
    return hostsHold(content, request, 0, lineEnd);
}

} // namespace tallowby::platform
