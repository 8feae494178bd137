#pragma once
// Text from the files as a message shows it. A file edited by hand may hold anything: a line of
// megabytes, control characters, a NUL, bytes that are no text. A message quotes only the beginning
// of such a line and writes what cannot be shown as an escape, so that it stays short, whole (a NUL
// would end it) and readable, and says the same as the file whatever the file holds.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::store {

// How much of a line a message quotes, in characters of the line.
inline constexpr std::size_t kQuotedCharacters = 40;
// How many problems one message lists; the rest are counted.
inline constexpr std::size_t kListedProblems = 25;

// The text with what cannot be shown written as an escape: "\0" for NUL, "\x01" for another control
// character or a byte that is not part of a UTF-8 character, "\u202E" for a character that turns
// or breaks the lines around it. The result is UTF-8 with no control character.
std::string printable(std::string_view text);

// The first kQuotedCharacters characters of the text, printable, and "..." when there is more.
std::string excerpt(std::string_view text);

// The excerpt in double quotes.
std::string quotedExcerpt(std::string_view text);

// The problems, printable, one line each after "- ", at most kListedProblems of them; a last line counts the
// rest ("and 312 more.").
std::string problemList(const std::vector<std::string>& problems);

} // namespace tallowby::store
