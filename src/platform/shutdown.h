#pragma once
// Shutting the machine down a minute from now. The program starts it and goes on: the result is
// not checked, and the next scheduled time tries again.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tallowby::platform {

class ShutdownCommand {
  public:
    virtual ~ShutdownCommand() = default;
    // true when the command was handed on; callers ignore it.
    virtual bool start() = 0;
    // Calls off a shutdown that start() set going. Waits for the answer: true only when the
    // system took the cancel, so the user is never told the machine stays on when it will not.
    virtual bool cancel() = 0;

    // What the caller's thread does, every few milliseconds, while cancel() waits for its answer:
    // a window keeps painting and its timers keep running meanwhile.
    void setWhileWaiting(std::function<void()> whileWaiting) { whileWaiting_ = std::move(whileWaiting); }

  protected:
    void whileWaiting() const {
        if (whileWaiting_)
            whileWaiting_();
    }

  private:
    std::function<void()> whileWaiting_;
};

// The command line, program name first, of what the system's shutdown amounts to: power off after
// one minute, running programs being ended whether they agree or not. What the sandbox logs.
const std::vector<std::string>& shutdownCommandLine();
// The command line that calls a pending shutdown off.
const std::vector<std::string>& cancelShutdownCommandLine();

} // namespace tallowby::platform
