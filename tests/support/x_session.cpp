#include "support/x_session.h"

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "support/x_probe.h"

namespace tallowby::testsupport {

namespace {

constexpr auto kStartTimeout = 20s;

void failIf(bool failed, const std::string& what) {
    if (failed) {
        throw std::runtime_error("X session: " + what);
    }
}

} // namespace

XSession::XSession(const XSessionOptions& options) {
    // -displayfd makes the server pick a free display number itself and write it to our pipe once it
    // listens, so parallel sessions never race for a number.
    server_.emplace("Xvfb",
                    std::vector<std::string>{"-displayfd", "1", "-screen", "0", options.screen, "-nolisten",
                                             "tcp", "-noreset"},
                    SpawnOptions{.environment = {}, .captureStdout = true});
    const auto number = server_->readLine(kStartTimeout);
    failIf(!number || number->empty(), "Xvfb did not report a display");
    display_ = ":" + *number;

    if (options.windowManager) {
        windowManager_.emplace(start("openbox", {"--sm-disable"}));
        XProbe probe(display_);
        failIf(!waitUntil([&] { return probe.windowManagerRunning(); }, kStartTimeout) ||
                   !probe.windowManagerTakesWindows(kStartTimeout),
               "openbox did not start");
    }
    if (options.trayHost) {
        trayHost_.emplace(start(
            "trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100"}));
        XProbe probe(display_);
        failIf(!waitUntil([&] { return probe.trayHostRunning(); }, kStartTimeout), "trayer did not start");
    }
}

XSession::~XSession() {
    // Clients first, the server last, so none of them sees its display vanish.
    if (trayHost_) {
        trayHost_->stop();
    }
    if (windowManager_) {
        windowManager_->stop();
    }
    if (server_) {
        server_->stop();
    }
}

void XSession::exportDisplay() const {
    ::setenv("DISPLAY", display_.c_str(), 1);
}

ChildProcess XSession::start(const std::filesystem::path& program, const std::vector<std::string>& args,
                             SpawnOptions options) const {
    options.environment.push_back(displayVariable());
    return ChildProcess(program, args, options);
}

} // namespace tallowby::testsupport
