#include "platform/linux/background_reap.h"

#include <cerrno>
#include <sys/wait.h>
#include <system_error>
#include <thread>

namespace tallowby::platform {

void reapInBackground(pid_t child) {
    try {
        std::thread([child] {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
    }
}

} // namespace tallowby::platform
