#pragma once
// The session file: six lines per session (start, end, week days, process mode, process list,
// website list). Every operation returns the new file lines; the caller writes them and reloads.
#include <string>

#include "store/record_groups.h"
#include "store/rule_fields.h"
#include "store/text_file.h"

namespace tallowby::store {

inline constexpr RecordLayout kSessionLayout{0, 6};

// Complete sessions in a file of lineCount lines (a trailing group of fewer than six is none), no more
// than are read (kMaxSessions).
int sessionCount(std::size_t lineCount);

// The list-box text of session i: start, "-", end, as stored (e.g. "09:00-10:30"). A line that a
// hand edit made long or unprintable shows as a message quotes it (report_text.h).
std::string sessionCaption(const Lines& lines, int i);

// Adds a session with every day, Block mode and empty lists. A trailing incomplete group is
// dropped first, so the new session is a whole record.
Lines appendSession(Lines lines, const std::string& start, const std::string& end);

// Without session i; a trailing incomplete group survives. Throws std::out_of_range.
Lines deleteSession(Lines lines, int i);

// No sessions: the empty file.
Lines clearSessions();

// The days, mode and lists of session i, as the session panel shows them.
using SessionFields = RuleFields;
SessionFields sessionFields(const Lines& lines, int i);

// Session i with its lines 2-5 replaced; everything else (a trailing incomplete group included) as
// it was. Throws std::out_of_range.
Lines saveSessionFields(Lines lines, int i, const SessionFields& fields);

// Where the session that was session i of the lines as read, with these times, is in the lines there
// now: i while session i still has them, else the first session that has; -1 when none has.
int findSession(const Lines& now, int i, const std::string& start, const std::string& end);

// Session i with the user's change to its days, mode and lists (from read to edited) made on its
// lines as they are (reapplyRuleFields). Throws std::out_of_range.
Lines changeSessionFields(Lines lines, int i, const SessionFields& read, const SessionFields& edited);

// The sessions in ascending order of start time, each once; equal times keep their order; a trailing
// incomplete group is dropped. Throws TimeFormatError naming a start time that cannot be read.
Lines sortSessions(const Lines& lines);

} // namespace tallowby::store
