#pragma once
// Reading and writing single values of a line list by line number.
#include <cstddef>
#include <string>
#include <string_view>

#include "store/text_file.h"

namespace tallowby::store {

// The line at index, or "" when the list is shorter (or the index negative): short files read
// their missing lines as empty.
const std::string& lineAt(const Lines& lines, std::ptrdiff_t index);

// Sets the line at index, first adding empty lines when the list is shorter.
void setLine(Lines& lines, std::size_t index, std::string value);

// A flag line is on exactly when it is "1"; " 1", "yes" and "" are off.
bool isOn(std::string_view line);

// "1" or "0", as every writer stores a flag.
std::string flagText(bool on);

// The text cut to maxBytes (before a character's continuation bytes, so it stays whole UTF-8) and
// marked "..." where it is longer: for showing what a file holds without laying out megabytes.
std::string boundedText(std::string_view text, std::size_t maxBytes);

} // namespace tallowby::store
