#pragma once
// One argument of a Windows command line, written so that CommandLineToArgvW (and the C runtime of
// the program started) reads it back unchanged: blanks, quotation marks and backslashes included.
#include <string>
#include <string_view>

namespace tallowby::platform::windows {

std::wstring quotedArgument(std::wstring_view argument);

} // namespace tallowby::platform::windows
