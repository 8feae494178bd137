#include "support/bind_mount.h"

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace tallowby::testsupport {
namespace {

std::string failed(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

} // namespace

BindMount::BindMount(const std::filesystem::path& folder, const std::filesystem::path& at) : at_(at) {
    std::filesystem::create_directories(at);
    // A namespace of this process's own (made once; later mounts join it), private all through so
    // that no mount made here reaches the system's.
    static const std::string isolated = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return failed("unshare");
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return failed("making / private");
        return std::string();
    }();
    failure_ = isolated;
    if (failure_.empty() && ::mount(folder.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) != 0)
        failure_ = failed("mount --bind");
}

BindMount::~BindMount() {
    if (mounted())
        ::umount2(at_.c_str(), MNT_DETACH);
}

} // namespace tallowby::testsupport
