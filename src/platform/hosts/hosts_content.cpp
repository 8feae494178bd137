#include "platform/hosts/hosts_content.h"

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

bool looksLikeProgramLine(const HostsLine& line) {
    return line.text.size() > kHostsLinePrefix.size() && line.text.starts_with(kHostsLinePrefix);
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

void appendLine(std::string& out, std::string_view text, std::string_view lineEnd) {
    out += text;
    out += lineEnd;
}

std::size_t blockSize(const std::vector<BlockLine>& block, std::string_view lineEnd) {
    std::size_t size =
        kHostsBeginMarker.size() + kHostsLocalhostLine.size() + kHostsEndMarker.size() + 3 * lineEnd.size();
    for (const BlockLine& line : block)
        size += kHostsLinePrefix.size() + line.site.size() + lineEnd.size() + (line.lockedUntil ? 40 : 0);
    return size;
}

void appendBlock(std::string& out, const std::vector<BlockLine>& block, std::string_view lineEnd) {
    out.reserve(out.size() + blockSize(block, lineEnd));
    appendLine(out, kHostsBeginMarker, lineEnd);
    appendLine(out, kHostsLocalhostLine, lineEnd);
    for (const BlockLine& line : block) {
        if (!isWritableSite(line.site))
            continue;
        out += kHostsLinePrefix;
        out += line.site;
        if (line.lockedUntil != 0)
            out += lockText(line.lockedUntil);
        out += lineEnd;
    }
    appendLine(out, kHostsEndMarker, lineEnd);
}

std::vector<BlockLine> unlocked(const std::vector<std::string>& sites) {
    std::vector<BlockLine> block;
    block.reserve(sites.size());
    for (const std::string& site : sites)
        block.push_back({site, 0});
    return block;
}

std::string renderBlockInto(std::string_view oldContent, const std::vector<BlockLine>& block,
                            std::string_view lineEnd) {
    oldContent = withoutRewriteFiller(oldContent);
    const std::vector<HostsLine> lines = splitKeepingEnds(oldContent);
    const std::vector<bool> own = programLines(lines);
    std::string out;
    out.reserve(oldContent.size() + blockSize(block, lineEnd) + lineEnd.size());
    bool placed = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!own[i]) {
            out += lines[i].bytes;
        } else if (!placed) {
            appendBlock(out, block, lineEnd);
            placed = true;
        }
    }
    if (!placed) {
        if (!out.empty() && out.back() != '\n')
            out += lineEnd;
        appendBlock(out, block, lineEnd);
    }
    return out;
}

bool anyProgramLine(const std::vector<bool>& own) {
    return std::ranges::find(own, true) != own.end();
}

// The content a write of the block leaves, or nothing when content already holds it.
std::optional<std::string> contentToWrite(std::string_view content, const std::vector<BlockLine>& block,
                                          std::string_view lineEnd) {
    std::string rendered = renderBlockInto(content, block, lineEnd);
    if (rendered == content)
        return std::nullopt;
    if (block.empty() && !anyProgramLine(programLines(splitKeepingEnds(withoutRewriteFiller(content)))))
        return std::nullopt;
    return rendered;
}

} // namespace

bool isWritableSite(std::string_view site) {
    return store::isPlainHostName(site);
}

std::string renderHostsBlock(const std::vector<std::string>& sites, std::string_view lineEnd) {
    std::string block;
    appendBlock(block, unlocked(sites), lineEnd);
    return block;
}

std::string renderHosts(std::string_view oldContent, const std::vector<std::string>& sites,
                        std::string_view lineEnd) {
    return renderBlockInto(oldContent, unlocked(sites), lineEnd);
}

std::string renderHosts(std::string_view oldContent, const BlockRequest& request, std::int64_t now,
                        std::string_view lineEnd) {
    return renderBlockInto(oldContent, mergedBlock(blockLines(oldContent), request, now), lineEnd);
}

std::optional<std::string> withoutHostsBlocks(std::string_view content) {
    content = withoutRewriteFiller(content);
    const std::vector<HostsLine> lines = splitKeepingEnds(content);
    const std::vector<bool> own = programLines(lines);
    if (!anyProgramLine(own))
        return std::nullopt;
    std::string out;
    out.reserve(content.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!own[i])
            out += lines[i].bytes;
    return out;
}

std::vector<BlockLine> blockLines(std::string_view content) {
    const std::vector<HostsLine> lines = splitKeepingEnds(withoutRewriteFiller(content));
    const std::vector<bool> own = programLines(lines);
    std::vector<BlockLine> block;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (own[i] && looksLikeProgramLine(lines[i]))
            block.push_back(readBlockLine(lines[i].text.substr(kHostsLinePrefix.size())));
    return block;
}

HostsWritePlan planHostsWrite(std::string_view content, const BlockRequest& request, std::int64_t now,
                              std::string_view lineEnd) {
    HostsWritePlan plan;
    plan.oldBlock = blockLines(content);
    plan.block = mergedBlock(plan.oldBlock, request, now);
    plan.content = contentToWrite(content, plan.block, lineEnd);
    return plan;
}

bool hostsHold(std::string_view content, const BlockRequest& request, std::int64_t now,
               std::string_view lineEnd) {
    return !planHostsWrite(content, request, now, lineEnd).content;
}

bool hostsHold(std::string_view content, const std::vector<std::string>& sites, std::string_view lineEnd) {
    return !contentToWrite(content, unlocked(sites), lineEnd);
}

} // namespace tallowby::platform
