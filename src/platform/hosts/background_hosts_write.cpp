#include "platform/hosts/background_hosts_write.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "store/text_file.h"

namespace tallowby::platform {

struct BackgroundHostsWrite::Shared {
    struct Outcome {
        BlockRequest request;
        std::optional<store::FileError> failure;
        Clock::time_point ended;
    };

    std::mutex mutex;
    std::condition_variable ended;
    bool busy = false;
    std::optional<Outcome> last;
    std::function<void()> settled;
};

BackgroundHostsWrite::BackgroundHostsWrite(Write write) : BackgroundHostsWrite(std::move(write), Options()) {}

BackgroundHostsWrite::BackgroundHostsWrite(Write write, Options options)
    : write_(std::move(write)), options_(std::move(options)), shared_(std::make_shared<Shared>()) {}

BackgroundHostsWrite::~BackgroundHostsWrite() {
    const std::lock_guard lock(shared_->mutex);
    shared_->settled = nullptr;
}

void BackgroundHostsWrite::setSettled(std::function<void()> settled) {
    const std::lock_guard lock(shared_->mutex);
    shared_->settled = std::move(settled);
}

bool BackgroundHostsWrite::write(const BlockRequest& request) {
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->busy)
            return false;
        if (shared_->last && shared_->last->request == request) {
            if (!shared_->last->failure) {
                // Told once: a file that lacks these sites later was changed since, and is written anew.
                shared_->last.reset();
                return true;
            }
            if (options_.now() - shared_->last->ended < options_.retryAfter)
                throw *shared_->last->failure;
        }
        shared_->busy = true;
        shared_->last.reset();
    }
    // The thread owns what it uses, so the writer may go away (the program ending) while it runs.
    const auto run = [shared = shared_, write = write_, now = options_.now, request] {
        Shared::Outcome outcome{request, std::nullopt, {}};
        try {
            write(request);
        } catch (const store::FileError& error) {
            outcome.failure = error;
        }
        outcome.ended = now();
        std::function<void()> settled;
        {
            const std::lock_guard lock(shared->mutex);
            shared->busy = false;
            shared->last = std::move(outcome);
            settled = shared->settled;
        }
        shared->ended.notify_all();
        if (settled)
            settled();
    };
    try {
        std::thread(run).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the write is made here rather than never.
        run();
    }
    return false;
}

void BackgroundHostsWrite::forgetRefusal(const BlockRequest& request) {
    const std::lock_guard lock(shared_->mutex);
    if (shared_->last && shared_->last->request == request && shared_->last->failure)
        shared_->last.reset();
}

void BackgroundHostsWrite::writeAndWait(const BlockRequest& request) {
    {
        std::unique_lock lock(shared_->mutex);
        shared_->ended.wait(lock, [this] { return !shared_->busy; });
        shared_->last.reset();
    }
    write_(request);
}

} // namespace tallowby::platform
