#include "desktop_checks.h"

#include <thread>

namespace tallowby::e2e {

using namespace std::chrono_literals;

std::vector<std::uint32_t> visibleWindowsNamed(const testsupport::XSession& session,
                                               const std::string& titlePattern) {
    testsupport::ChildProcess search =
        session.start("xdotool", {"search", "--onlyvisible", "--name", titlePattern},
                      testsupport::SpawnOptions{.environment = {}, .captureStdout = true});
    std::vector<std::uint32_t> windows;
    while (const auto line = search.readLine(5s)) {
        if (!line->empty()) {
            windows.push_back(static_cast<std::uint32_t>(std::stoul(*line)));
        }
    }
    search.waitForExit(5s);
    return windows;
}

bool holdsFor(const std::function<bool()>& condition, std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    do {
        if (!condition()) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return condition();
}

} // namespace tallowby::e2e
