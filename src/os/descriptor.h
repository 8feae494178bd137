#pragma once
// Open file descriptors: the one owner that closes them, and whole reads and writes that go on
// after short and interrupted ones. Every failure becomes a FileError naming the file.
#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

#include "os/file_error.h"

namespace tallowby::os {

// Closes the descriptor when it goes out of scope (errors on that path are not reported; callers
// that need the result of closing call closeChecked()).
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; returns 0 or the errno of a failed close.
    int closeChecked();
    // Takes over another descriptor, closing the one held.
    void reset(int fd = -1) {
        closeChecked();
        fd_ = fd;
    }
    // Gives the descriptor up without closing it.
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

// Reads until end of file, or until limit bytes are in: never holds more than limit bytes.
std::string readAll(int fd, const std::filesystem::path& path,
                    std::size_t limit = std::numeric_limits<std::size_t>::max());

// Writes every byte.
void writeAll(int fd, std::string_view bytes, const std::filesystem::path& path);

// Flushes the file to the disk and closes it, reporting a failure of either.
void syncAndClose(UniqueFd& fd, const std::filesystem::path& path);

} // namespace tallowby::os
