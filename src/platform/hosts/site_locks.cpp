#include "platform/hosts/site_locks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unordered_map>

#include "platform/hosts/hosts_content.h"

namespace tallowby::platform {
namespace {

constexpr std::string_view kLockMark = " # locked until ";
// "2026-12-08T16:00:00Z"
constexpr std::size_t kTimeLength = 20;

bool isDigits(std::string_view text) {
    return std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

int number(std::string_view digits) {
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

std::optional<std::int64_t> readTime(std::string_view text) {
    if (text.size() != kTimeLength || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    const std::string_view fields[] = {text.substr(0, 4),  text.substr(5, 2),  text.substr(8, 2),
                                       text.substr(11, 2), text.substr(14, 2), text.substr(17, 2)};
    if (!std::ranges::all_of(fields, isDigits))
        return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{year(number(fields[0])), month(static_cast<unsigned>(number(fields[1]))),
                              day(static_cast<unsigned>(number(fields[2])))};
    const int hours = number(fields[3]);
    const int minutes = number(fields[4]);
    const int seconds = number(fields[5]);
    if (!date.ok() || hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return sys_days(date).time_since_epoch().count() * std::int64_t{86400} + hours * 3600 + minutes * 60 +
           seconds;
}

// The latest lock of each site of `lines` beyond now: a hosts file may name a site more than once.
std::unordered_map<std::string_view, std::int64_t> locksBeyond(const std::vector<BlockLine>& lines,
                                                               std::int64_t now) {
    std::unordered_map<std::string_view, std::int64_t> locks;
    for (const BlockLine& line : lines)
        if (line.lockedUntil > now) {
            std::int64_t& until = locks[line.site];
            until = std::max(until, line.lockedUntil);
        }
    return locks;
}

} // namespace

std::string lockText(std::int64_t until) {
    using namespace std::chrono;
    const sys_seconds time{seconds(until)};
    const sys_days date = floor<days>(time);
    const year_month_day ymd{date};
    const hh_mm_ss clock{time - date};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return std::string(kLockMark) + text;
}

BlockLine readBlockLine(std::string_view text) {
    const std::size_t mark = text.find(kLockMark);
    if (mark != std::string_view::npos) {
        if (const std::optional<std::int64_t> until = readTime(text.substr(mark + kLockMark.size()));
            until && *until > 0)
            return {std::string(text.substr(0, mark)), *until};
    }
    return {std::string(text), 0};
}

std::vector<BlockLine> mergedBlock(const std::vector<BlockLine>& old, const BlockRequest& request,
                                   std::int64_t now) {
    const auto oldLocks = locksBeyond(old, now);
    std::vector<BlockLine> block;
    block.reserve(request.sites.size());
    for (const std::string& site : request.sites) {
        if (!isWritableSite(site))
            continue;
        std::int64_t until = 0;
        if (const auto asked = request.lockedUntil.find(site);
            asked != request.lockedUntil.end() && asked->second > now)
            until = std::min(asked->second, now + kLongestLockSeconds);
        if (const auto held = oldLocks.find(site); !request.liftEarly && held != oldLocks.end())
            until = std::max(until, held->second);
        block.push_back({site, until});
    }
    if (!request.liftEarly)
        for (BlockLine& staying : locksStaying(old, request, now))
            block.push_back(std::move(staying));
    return block;
}

std::vector<BlockLine> locksStaying(const std::vector<BlockLine>& old, const BlockRequest& request,
                                    std::int64_t now) {
    // Locked names are few beside a request's: the request is only looked up in them.
    auto locks = locksBeyond(old, now);
    if (locks.empty())
        return {};
    for (const std::string& site : request.sites)
        locks.erase(site);
    std::vector<BlockLine> staying;
    for (const BlockLine& line : old)
        if (const auto lock = locks.find(line.site); lock != locks.end() && isWritableSite(line.site)) {
            staying.push_back({line.site, lock->second});
            locks.erase(lock);
        }
    return staying;
}

std::optional<std::int64_t> nextLockEnd(const std::vector<BlockLine>& old, std::int64_t now) {
    std::optional<std::int64_t> next;
    for (const BlockLine& line : old)
        if (line.lockedUntil > now && (!next || line.lockedUntil < *next))
            next = line.lockedUntil;
    return next;
}

bool lockPassed(const std::vector<BlockLine>& old, std::int64_t now) {
    return std::ranges::any_of(
        old, [now](const BlockLine& line) { return line.lockedUntil != 0 && line.lockedUntil <= now; });
}

} // namespace tallowby::platform
