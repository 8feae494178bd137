#pragma once
// Whole-file reads and writes for tests, byte for byte.
#include <filesystem>
#include <string>
#include <string_view>

namespace tallowby::testsupport {

// Throws std::runtime_error when the file cannot be read or written.
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace tallowby::testsupport
