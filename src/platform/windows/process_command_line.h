#pragma once
// Another process's command line on Windows, which keeps it as one text in that process's memory.
#include <string>
#include <vector>

#include "platform/process_list.h"

namespace tallowby::platform::windows {

// argv, argv[0] included, split by the rules of CommandLineToArgvW (those of the programs Windows
// starts). Empty when the process is gone, has no command line or may not be asked: only the right
// to query limited information is needed, which a user has over the processes of the session.
std::vector<std::string> readCommandLine(ProcessId pid);

} // namespace tallowby::platform::windows
