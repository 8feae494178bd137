#pragma once
// The Win32 side of the floor's files: handles opened by wide path, what a handle is, and the step
// from a handle to the C runtime descriptor (binary mode) that the floor's interface passes around.
#include <filesystem>
#include <optional>

#include "os/files.h"

namespace tallowby::os::windows {

// Closes the handle when it goes out of scope.
class UniqueHandle {
  public:
    explicit UniqueHandle(void* handle = nullptr);
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle& operator=(UniqueHandle&&) = delete;
    ~UniqueHandle();

    void* get() const { return handle_; }
    bool valid() const { return handle_ != nullptr; }
    void* release() {
        void* handle = handle_;
        handle_ = nullptr;
        return handle;
    }

  private:
    void* handle_;
};

struct OpenRequest {
    unsigned long access = 0;      // GENERIC_READ, GENERIC_WRITE, FILE_READ_ATTRIBUTES, ...
    unsigned long disposition = 0; // OPEN_EXISTING, CREATE_NEW
    unsigned long flags = 0;       // FILE_FLAG_* and attributes
    Links links = Links::Follow;
};

// Opens the path, sharing it with every other reader, writer and deleter (a file held open elsewhere
// can still be replaced, as on Linux). An invalid handle when the open fails; GetLastError() says why.
UniqueHandle openFile(const std::filesystem::path& path, const OpenRequest& request);

// What the open handle is: its kind (Link only for a handle opened with Links::NotFollowed on a
// reparse point), stamp and owner. Nothing when the system cannot tell; GetLastError() says why.
std::optional<FileInfo> handleInfo(void* handle, Links links);

// Hands the handle over to a C runtime descriptor in binary mode: CR LF stays two bytes.
UniqueFd toDescriptor(UniqueHandle handle, int openFlags, const std::filesystem::path& path);

} // namespace tallowby::os::windows
