#pragma once
// The two lookups the process pickers use to turn a window title into an executable name.
#include <string>
#include <string_view>
#include <vector>

#include "platform/process_list.h"
#include "platform/window_list.h"

namespace tallowby::platform {

// The process of the first top-level window in Z order whose title equals the text exactly;
// kNoProcess when there is no such window or its process cannot be told.
ProcessId GetProcessIDbyWindowName(const std::vector<TopLevelWindow>& windows, std::string_view title);
ProcessId GetProcessIDbyWindowName(WindowLister& windows, std::string_view title);

// The name of the first process with that id; empty for kNoProcess or when no process has it.
std::string GetProcessNameById(const ProcessSnapshot& snapshot, ProcessId pid);
std::string GetProcessNameById(ProcessLister& processes, ProcessId pid);

} // namespace tallowby::platform
