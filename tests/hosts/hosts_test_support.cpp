#include "hosts_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sched.h>
#include <sstream>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tallowby::platform::hosts_testing {

namespace {
constexpr int kNoNamespace = 77;
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> numberedSites(std::size_t count, const std::string& prefix,
                                       const std::string& suffix) {
    std::vector<std::string> sites;
    sites.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        sites.push_back(prefix + std::to_string(i) + suffix);
    return sites;
}

std::optional<int> runInChild(const std::function<int()>& body, std::chrono::seconds limit) {
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot start a child process");
    if (child == 0) {
        // Its default action ends a child that is still waiting when the limit comes.
        ::alarm(static_cast<unsigned>(limit.count()));
        int code = 1;
        try {
            code = body();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "in the child: %s\n", error.what());
            code = 2;
        }
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

std::optional<int> runInMountNamespace(const std::function<int()>& body) {
    const std::optional<int> code = runInChild([&] {
        // Private propagation keeps the child's mounts from reaching the machine's own namespace.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return kNoNamespace;
        return body();
    });
    if (!code)
        return -1;
    if (*code == kNoNamespace)
        return std::nullopt;
    return code;
}

} // namespace tallowby::platform::hosts_testing
