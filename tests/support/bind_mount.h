#pragma once
// A second path to a folder through a bind mount, as a user's system may have one. It is made in a
// mount namespace of the test process's own, so nothing of it shows outside the test nor outlives
// it; children started afterwards see it. Needs root (the tests run as root in CI); where it cannot
// be made, mounted() is false and failure() says why.
#include <filesystem>
#include <string>

namespace tallowby::testsupport {

class BindMount {
  public:
    // Makes the folder `at` and mounts `folder` on it.
    BindMount(const std::filesystem::path& folder, const std::filesystem::path& at);
    ~BindMount();
    BindMount(const BindMount&) = delete;
    BindMount& operator=(const BindMount&) = delete;

    bool mounted() const { return failure_.empty(); }
    const std::string& failure() const { return failure_; }

  private:
    std::filesystem::path at_;
    std::string failure_;
};

} // namespace tallowby::testsupport
