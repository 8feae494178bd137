#include "store/session_records.h"

#include "store/report_text.h"

#include <algorithm>

#include "store/line_values.h"
#include "store/rule_limits.h"

namespace tallowby::store {
namespace {

constexpr std::size_t kStart = 0;
constexpr std::size_t kEnd = 1;
constexpr std::size_t kRules = 2;

} // namespace

int sessionCount(std::size_t lineCount) {
    return std::min(recordCount(kSessionLayout, lineCount), kMaxSessions);
}

std::string sessionCaption(const Lines& lines, int i) {
    return excerpt(lines[recordLine(kSessionLayout, lines, i, kStart)]) + "-" +
           excerpt(lines[recordLine(kSessionLayout, lines, i, kEnd)]);
}

Lines appendSession(Lines lines, const std::string& start, const std::string& end) {
    lines = dropIncompleteRecord(kSessionLayout, std::move(lines));
    lines.insert(lines.end(), {start, end, "1111111", "0", "", ""});
    return lines;
}

Lines deleteSession(Lines lines, int i) {
    return eraseRecord(kSessionLayout, std::move(lines), i);
}

Lines clearSessions() {
    return {};
}

SessionFields sessionFields(const Lines& lines, int i) {
    return decodeRuleFields(lines, recordLine(kSessionLayout, lines, i, kRules));
}

Lines saveSessionFields(Lines lines, int i, const SessionFields& fields) {
    const std::size_t first = recordLine(kSessionLayout, lines, i, kRules);
    const Lines encoded = encodeRuleFields(fields);
    std::copy(encoded.begin(), encoded.end(), lines.begin() + static_cast<std::ptrdiff_t>(first));
    return lines;
}

int findSession(const Lines& now, int i, const std::string& start, const std::string& end) {
    const auto hasTimes = [&](int j) {
        const auto first = static_cast<std::ptrdiff_t>(6 * j);
        return lineAt(now, first) == start && lineAt(now, first + 1) == end;
    };
    const int count = sessionCount(now.size());
    if (i >= 0 && i < count && hasTimes(i))
        return i;
    for (int j = 0; j < count; ++j) {
        if (hasTimes(j))
            return j;
    }
    return -1;
}

Lines changeSessionFields(Lines lines, int i, const SessionFields& read, const SessionFields& edited) {
    const std::size_t first = recordLine(kSessionLayout, lines, i, kRules);
    const Lines changed = reapplyRuleFields(read, edited, lines, first);
    std::copy(changed.begin(), changed.end(), lines.begin() + static_cast<std::ptrdiff_t>(first));
    return lines;
}

Lines sortSessions(const Lines& lines) {
    return sortRecordsByTime(kSessionLayout, lines);
}

} // namespace tallowby::store
