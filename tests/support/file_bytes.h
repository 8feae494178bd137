#pragma once
// Whole-file reads and writes for tests, byte for byte.
#include <filesystem>
#include <string>

namespace tallowby::testsupport {

// Throws std::runtime_error when the file cannot be read or written.
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace tallowby::testsupport
