#pragma once
// Small file helpers for the system tests: a private temporary folder, whole-file reads, and waiting
// for something another process does.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace tallowby::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& text);

// Polls until done() is true or the deadline passes; returns done()'s last answer. For waiting on
// other processes, never for judging speed: the deadline only keeps a broken test from hanging.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds deadline = std::chrono::seconds(20));

} // namespace tallowby::test
