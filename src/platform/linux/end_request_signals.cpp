#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "platform/end_request.h"

namespace tallowby::platform {
namespace {

// The handler may only write to a pipe; a thread reads it and does the rest outside the handler.
int signalWriteEnd = -1;

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

void onSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

bool catchEndRequest(std::function<void()> ended) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    signalWriteEnd = ends[1];
    try {
        std::thread([readEnd = ends[0], ended = std::move(ended)] {
            unsigned char byte = 0;
            ssize_t got = 0;
            do {
                got = ::read(readEnd, &byte, 1);
            } while (got < 0 && errno == EINTR);
            if (got != 1)
                return;
            // A second request, should the program hang on its way out, ends it as it always did.
            for (const int signal : kEndSignals)
                ::signal(signal, SIG_DFL);
            ended();
        }).detach();
    } catch (const std::system_error&) {
        ::close(ends[0]);
        ::close(ends[1]);
        signalWriteEnd = -1;
        return false;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals)
        ::sigaction(signal, &action, nullptr);
    return true;
}

} // namespace tallowby::platform
