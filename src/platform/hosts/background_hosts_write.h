#pragma once
// A hosts write that may wait on a person (an administrator's password asked for by pkexec) runs
// beside the window, never on its thread: the clock, the tick and the window sweeps go on meanwhile.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/hosts/site_locks.h"

namespace tallowby::platform {

class BackgroundHostsWrite {
  public:
    using Clock = std::chrono::steady_clock;
    // Writes the block before it returns; throws store::FileError when the write failed or was
    // refused.
    using Write = std::function<void(const BlockRequest& request)>;

    struct Options {
        // After a refusal or a failure the same sites are not asked for again for this long: the tick
        // writes every second while the file lacks the block, and each request may put a password
        // dialog in front of the user.
        Clock::duration retryAfter = std::chrono::minutes(5);
        std::function<Clock::time_point()> now = [] { return Clock::now(); };
    };

    explicit BackgroundHostsWrite(Write write);
    BackgroundHostsWrite(Write write, Options options);
    // Never waits for a write under way: it finishes on its own, and nobody is told of its end.
    ~BackgroundHostsWrite();
    BackgroundHostsWrite(const BackgroundHostsWrite&) = delete;
    BackgroundHostsWrite& operator=(const BackgroundHostsWrite&) = delete;

    // Called, on the writing thread, each time a write has ended, so that the caller asks again for
    // its outcome (or for the sites it wants by now).
    void setSettled(std::function<void()> settled);

    // true when these sites were written by the write that ended last. false while a write is under
    // way: none is started beside it, whatever the sites; else a write of these sites is started.
    // Throws the failure of the last write of these sites for retryAfter after it, without asking
    // again.
    bool write(const BlockRequest& request);

    // The next write of these sites asks again although a refusal of them is held back: the user
    // has just asked for it (an early lift).
    void forgetRefusal(const BlockRequest& request);

    // Waits for a write under way to end, then writes these sites on the caller's thread, asking even
    // when a refusal of them is held back: for the program's last write, which nobody sees later.
    void writeAndWait(const BlockRequest& request);

  private:
    struct Shared;
    Write write_;
    Options options_;
    std::shared_ptr<Shared> shared_;
};

} // namespace tallowby::platform
