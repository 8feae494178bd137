#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace tallowby::testsupport {

// A private temporary folder, removed with everything in it when the object goes (a test that
// took the rights away from it gets them back first).
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
    // The names in the folder, sorted.
    std::vector<std::string> names() const;

  private:
    std::filesystem::path path_;
};

} // namespace tallowby::testsupport
