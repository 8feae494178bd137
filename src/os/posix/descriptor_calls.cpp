#include "os/descriptor_calls.h"

#include <unistd.h>

namespace tallowby::os::calls {

int close(int fd) {
    // On Linux the descriptor is released even when close() fails, so it is never retried.
    return ::close(fd);
}

long read(int fd, char* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}

long write(int fd, const char* bytes, std::size_t size) {
    return ::write(fd, bytes, size);
}

int sync(int fd) {
    return ::fsync(fd);
}

} // namespace tallowby::os::calls
