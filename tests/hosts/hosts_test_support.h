#pragma once
// Whole-file helpers for the hosts writer's tests and benchmarks. Nothing here touches a file outside
// the temporary folder a test made for itself (support/temp_folder.h).
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/file_bytes.h"

namespace tallowby::platform::hosts_testing {

using testsupport::readFile;
using testsupport::writeFile;

// Names of everything in the folder, sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

// "prefix0", "prefix1", ... with the given suffix.
std::vector<std::string> numberedSites(std::size_t count, const std::string& prefix,
                                       const std::string& suffix);

// Runs body in a child process and returns its exit code; nothing when the child did not end by
// itself within the limit (it is killed then), so that a test of something that must never wait
// cannot hang.
std::optional<int> runInChild(const std::function<int()>& body,
                              std::chrono::seconds limit = std::chrono::seconds(10));

// Runs body in a child process with a mount namespace of its own (mounts made there vanish with the
// child) and returns its exit code, or nothing when this system does not allow such a namespace.
std::optional<int> runInMountNamespace(const std::function<int()>& body);

} // namespace tallowby::platform::hosts_testing
