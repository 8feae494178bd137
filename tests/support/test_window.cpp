#include "support/test_window.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "support/x_probe.h"

namespace tallowby::testsupport {

namespace {

constexpr std::uint32_t kNormalState = 1; // ICCCM WM_STATE NormalState

std::vector<std::string> testwinArgs(const std::string& title, const TestWindowOptions& options) {
    std::vector<std::string> args;
    if (!options.setPid) {
        args.emplace_back("--no-pid");
    } else if (options.claimedPid != 0) {
        args.insert(args.end(), {"--pid", std::to_string(options.claimedPid)});
    }
    if (options.wmNameOnly) {
        args.emplace_back("--wm-name-only");
    }
    if (options.dock) {
        args.emplace_back("--dock");
    }
    if (!options.mapped) {
        args.emplace_back("--unmapped");
    }
    args.insert(args.end(), {"--count", std::to_string(options.count), title});
    return args;
}

} // namespace

std::filesystem::path testWindowProgram() {
    return TALLOWBY_TESTWIN_PATH;
}

std::filesystem::path ProgramCopies::copyAs(const std::string& name) {
    const auto copy = folder() / name;
    if (!std::filesystem::exists(copy)) {
        std::filesystem::copy_file(testWindowProgram(), copy);
    }
    return copy;
}

TestWindow::TestWindow(const XSession& session, const std::filesystem::path& program,
                       const std::string& title, const TestWindowOptions& options)
    : process_(session.start(program, testwinArgs(title, options),
                             SpawnOptions{.environment = {}, .captureStdout = true})) {
    for (int i = 0; i < options.count; ++i) {
        const auto line = process_.readLine(10s);
        if (!line) {
            throw std::runtime_error("testwin did not report its windows: " + title);
        }
        windows_.push_back(static_cast<std::uint32_t>(std::stoul(*line)));
    }
    if (!options.mapped) {
        return;
    }
    XProbe probe(session.display());
    const auto settled = [&](std::uint32_t w) {
        return probe.isManaged(w) && probe.wmState(w) == kNormalState;
    };
    if (probe.windowManagerRunning() && !waitUntil([&] { return std::ranges::all_of(windows_, settled); })) {
        throw std::runtime_error("the window manager did not take the windows of " + title);
    }
}

} // namespace tallowby::testsupport
