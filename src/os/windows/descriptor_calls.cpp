// The C runtime's low-level I/O, which the floor wraps Windows handles in (binary mode).
#include "os/descriptor_calls.h"

#include <algorithm>
#include <climits>
#include <io.h>

namespace tallowby::os::calls {

namespace {
unsigned chunk(std::size_t size) {
    return static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX));
}
} // namespace

int close(int fd) {
    return ::_close(fd);
}

long read(int fd, char* buffer, std::size_t size) {
    return ::_read(fd, buffer, chunk(size));
}

long write(int fd, const char* bytes, std::size_t size) {
    return ::_write(fd, bytes, chunk(size));
}

int sync(int fd) {
    // FlushFileBuffers on the descriptor's handle.
    return ::_commit(fd);
}

} // namespace tallowby::os::calls
