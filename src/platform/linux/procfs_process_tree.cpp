#include "platform/linux/procfs_process_tree.h"

#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/linux/process_command_line.h"

namespace tallowby::platform {

namespace {

// A children file lists ids separated by spaces; a process with more children than this is no
// terminal session anyone works in.
constexpr std::size_t kMostChildren = 4096;

void addIds(std::string_view text, std::vector<ProcessId>& ids) {
    while (!text.empty() && ids.size() < kMostChildren) {
        const auto start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            return;
        }
        text.remove_prefix(start);
        ProcessId id = kNoProcess;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
        if (error != std::errc() || id == kNoProcess) {
            return;
        }
        ids.push_back(id);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    }
}

} // namespace

std::vector<std::string> ProcfsProcessTree::commandLine(ProcessId pid) {
    return readCommandLine(pid, root_);
}

std::vector<ProcessId> ProcfsProcessTree::childrenOf(ProcessId pid) {
    std::vector<ProcessId> children;
    if (pid == kNoProcess) {
        return children;
    }
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator(root_ / std::to_string(pid) / "task", error)) {
        std::ifstream file(task.path() / "children");
        std::string text;
        std::getline(file, text);
        addIds(text, children);
    }
    return children;
}

} // namespace tallowby::platform
