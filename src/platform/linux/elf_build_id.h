#pragma once
// The GNU build ID of an ELF file (its NT_GNU_BUILD_ID note): the linker's fingerprint of the
// program's content, the same in every copy of the file whatever it is called.
#include <filesystem>
#include <string>

namespace tallowby::platform {

// The build ID in lower-case hex; empty when the file is no little-endian ELF32/ELF64 file, has no
// such note or cannot be read. Every size and offset the file states is checked against the file
// and against small limits before anything is read, so a damaged or hostile file costs a few reads.
std::string readBuildId(int fd);
// The same for the file at `path` relative to `dir` (AT_FDCWD for the current folder).
std::string readBuildIdAt(int dir, const char* path);
std::string readBuildId(const std::filesystem::path& path);

} // namespace tallowby::platform
