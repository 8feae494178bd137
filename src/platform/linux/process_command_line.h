#pragma once
// A process's command line as the kernel keeps it (/proc/PID/cmdline).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/process_list.h"
#include "platform/process_tree.h"

namespace tallowby::platform {

// argv, argv[0] included; empty when the process is gone, is a kernel thread or cannot be read. A
// line longer than kMostCommandLineBytes is cut there.
std::vector<std::string> readCommandLine(ProcessId pid, const std::filesystem::path& procRoot = "/proc");

// The same with the /proc folder open as `procDir` and the process's folder name ("1234").
std::vector<std::string> readCommandLineAt(int procDir, std::string_view pidText);

} // namespace tallowby::platform
