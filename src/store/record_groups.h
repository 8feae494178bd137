#pragma once
// Files made of fixed-size records: a session file is records of six lines from line 0, a reminder
// file five lines of settings and then records of four lines. These helpers work on any such
// layout, given the line where the records begin and the record size.
#include <cstddef>

#include "store/text_file.h"

namespace tallowby::store {

struct RecordLayout {
    std::size_t first; // line of record 0
    std::size_t size;  // lines per record
};

// The number of complete records; lines after the last complete record belong to none.
int recordCount(const RecordLayout& layout, std::size_t lineCount);

// The line number of a record's field. Throws std::out_of_range when the record is not complete.
std::size_t recordLine(const RecordLayout& layout, const Lines& lines, int record, std::size_t field);

// Every line except those of the record; a trailing incomplete group stays.
// Throws std::out_of_range when the record is not complete.
Lines eraseRecord(const RecordLayout& layout, Lines lines, int record);

// The lines without a trailing incomplete group, so that what is appended next starts a record.
Lines dropIncompleteRecord(const RecordLayout& layout, Lines lines);

// The lines before the first record, then the complete records in ascending order of the time of day
// in their first line. Records at the same time keep their order; a trailing incomplete group is
// dropped. Throws TimeFormatError when a record's time cannot be read.
Lines sortRecordsByTime(const RecordLayout& layout, const Lines& lines);

} // namespace tallowby::store
