#pragma once
// The system's descriptor calls under descriptor.cpp, one implementation per system: each returns
// what its POSIX namesake does, -1 with errno set on a failure.
#include <cstddef>

namespace tallowby::os::calls {

int close(int fd);
long read(int fd, char* buffer, std::size_t size);
long write(int fd, const char* bytes, std::size_t size);
// Flushes the file's data to the disk.
int sync(int fd);

} // namespace tallowby::os::calls
