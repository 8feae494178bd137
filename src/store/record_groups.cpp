#include "store/record_groups.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/time_of_day.h"

namespace tallowby::store {

int recordCount(const RecordLayout& layout, std::size_t lineCount) {
    if (lineCount < layout.first)
        return 0;
    return static_cast<int>((lineCount - layout.first) / layout.size);
}

std::size_t recordLine(const RecordLayout& layout, const Lines& lines, int record, std::size_t field) {
    if (record < 0 || record >= recordCount(layout, lines.size()))
        throw std::out_of_range("No record " + std::to_string(record));
    return layout.first + static_cast<std::size_t>(record) * layout.size + field;
}

Lines eraseRecord(const RecordLayout& layout, Lines lines, int record) {
    const auto begin = lines.begin() + static_cast<std::ptrdiff_t>(recordLine(layout, lines, record, 0));
    lines.erase(begin, begin + static_cast<std::ptrdiff_t>(layout.size));
    return lines;
}

Lines dropIncompleteRecord(const RecordLayout& layout, Lines lines) {
    if (lines.size() > layout.first)
        lines.resize(layout.first +
                     static_cast<std::size_t>(recordCount(layout, lines.size())) * layout.size);
    return lines;
}

Lines sortRecordsByTime(const RecordLayout& layout, const Lines& lines) {
    struct Keyed {
        std::int64_t time;
        std::size_t start;
    };
    const int count = recordCount(layout, lines.size());
    std::vector<Keyed> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::size_t start = layout.first + static_cast<std::size_t>(i) * layout.size;
        records.push_back({parseTimeOfDay(lines[start]), start});
    }
    // Whole milliseconds: times less than a millisecond apart are the same value, so a stable sort
    // keeps records at the same time in file order.
    std::stable_sort(records.begin(), records.end(),
                     [](const Keyed& a, const Keyed& b) { return a.time < b.time; });

    const std::size_t head = std::min(layout.first, lines.size());
    Lines sorted(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(head));
    sorted.reserve(head + records.size() * layout.size);
    for (const auto& record : records) {
        const auto begin = lines.begin() + static_cast<std::ptrdiff_t>(record.start);
        sorted.insert(sorted.end(), begin, begin + static_cast<std::ptrdiff_t>(layout.size));
    }
    return sorted;
}

} // namespace tallowby::store
