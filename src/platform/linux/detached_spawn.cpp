#include "platform/detached_spawn.h"

#include "platform/linux/background_reap.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>

extern char** environ;

namespace tallowby::platform {
namespace {

// Owns the posix_spawn attribute objects for one call.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    SpawnSetup() {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        // The caller's blocked or ignored signals are no business of the child.
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attr, &none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigdefault(&attr, &all);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

} // namespace

Spawned spawnDetached(const std::filesystem::path& program, const std::vector<std::string>& args) {
    std::vector<std::string> argvText;
    argvText.reserve(args.size() + 1);
    argvText.push_back(program.string());
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    SpawnSetup setup;
    Spawned result;
    result.error = ::posix_spawn(&result.pid, argvText.front().c_str(), &setup.actions, &setup.attr,
                                 argv.data(), environ);
    if (!result.started()) {
        result.pid = -1;
        return result;
    }
    reapInBackground(result.pid);
    return result;
}

} // namespace tallowby::platform
