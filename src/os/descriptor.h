#pragma once
// Small helpers over POSIX file descriptors for the text-file code: every failure becomes a
// FileError carrying the system's description of errno.
#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

namespace tallowby::store::posix_io {

// Closes the descriptor when it goes out of scope (errors on that path are not reported; callers
// that need the result of close() call closeChecked()).
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; returns 0 or the errno of a failed close.
    int closeChecked();
    // Takes over another descriptor, closing the one held.
    void reset(int fd) {
        closeChecked();
        fd_ = fd;
    }

  private:
    int fd_;
};

[[noreturn]] void throwFileError(const std::filesystem::path& path, int error);

// Throws FileError saying what kind of file is at the path ("it is a named pipe, not a regular
// file"), for a path where only a regular file may be read or written.
[[noreturn]] void refuseFileKind(const std::filesystem::path& path, unsigned mode);

// Reads until end of file, or until at least limit bytes are in, retrying interrupted reads.
std::string readAll(int fd, const std::filesystem::path& path,
                    std::size_t limit = std::numeric_limits<std::size_t>::max());

// Writes every byte, retrying interrupted and partial writes.
void writeAll(int fd, std::string_view bytes, const std::filesystem::path& path);

} // namespace tallowby::store::posix_io
