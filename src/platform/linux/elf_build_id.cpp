#include "platform/linux/elf_build_id.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/descriptor.h"

namespace tallowby::platform {

namespace {

// Far beyond what a linker writes: a program has about a dozen program headers and a note segment
// of a few hundred bytes.
constexpr std::uint64_t kMostProgramHeaders = 512;
constexpr std::uint64_t kMostNoteBytes = 64 * 1024;
constexpr std::uint32_t kMostBuildIdBytes = 64;

constexpr std::uint32_t kPtNote = 4;
constexpr std::uint32_t kNtGnuBuildId = 3;

std::uint64_t little(const unsigned char* bytes, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = size; i > 0; --i) {
        value = (value << 8) | bytes[i - 1];
    }
    return value;
}

bool readExactly(int fd, void* into, std::uint64_t size, std::uint64_t offset) {
    auto* at = static_cast<unsigned char*>(into);
    while (size > 0) {
        const ssize_t got = ::pread(fd, at, size, static_cast<off_t>(offset));
        if (got <= 0) {
            return false;
        }
        at += got;
        size -= static_cast<std::uint64_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

// [offset, offset + size) lies within a file of `fileSize` bytes, without overflowing.
bool within(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

std::string hex(const unsigned char* bytes, std::size_t size) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0xf];
    }
    return text;
}

// The build ID among the notes of one note segment.
std::string buildIdInNotes(const std::vector<unsigned char>& notes, std::uint64_t alignment) {
    const std::uint64_t align = alignment == 8 ? 8 : 4;
    const auto padded = [&](std::uint64_t size) { return (size + align - 1) / align * align; };
    std::uint64_t at = 0;
    while (notes.size() - at >= 12) {
        const std::uint64_t nameSize = little(&notes[at], 4);
        const std::uint64_t descSize = little(&notes[at + 4], 4);
        const std::uint64_t type = little(&notes[at + 8], 4);
        at += 12;
        if (nameSize > notes.size() - at || padded(nameSize) > notes.size() - at) {
            return {};
        }
        const std::uint64_t descAt = at + padded(nameSize);
        if (descSize > notes.size() - descAt) {
            return {};
        }
        if (type == kNtGnuBuildId && nameSize == 4 && std::memcmp(&notes[at], "GNU", 4) == 0 &&
            descSize > 0 && descSize <= kMostBuildIdBytes) {
            return hex(&notes[descAt], descSize);
        }
        if (padded(descSize) > notes.size() - descAt) {
            return {};
        }
        at = descAt + padded(descSize);
    }
    return {};
}

} // namespace

std::string readBuildId(int fd) {
    struct stat file {};
    if (fd < 0 || ::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode) || file.st_size <= 0) {
        return {};
    }
    const auto fileSize = static_cast<std::uint64_t>(file.st_size);
    std::array<unsigned char, 64> header{};
    if (fileSize < 52 ||
        !readExactly(fd, header.data(), std::min<std::uint64_t>(header.size(), fileSize), 0)) {
        return {};
    }
    if (std::memcmp(header.data(),
                    "\x7f"
                    "ELF",
                    4) != 0 ||
        header[5] != 1 /* little-endian */) {
        return {};
    }
    const bool wide = header[4] == 2;
    if (!wide && header[4] != 1) {
        return {};
    }
    // Where the program headers are and how big each is: ELF64 and ELF32 differ only in widths.
    const std::uint64_t phoff = wide ? little(&header[32], 8) : little(&header[28], 4);
    const std::uint64_t phentsize = wide ? little(&header[54], 2) : little(&header[42], 2);
    const std::uint64_t phnum = wide ? little(&header[56], 2) : little(&header[44], 2);
    const std::uint64_t minimalEntry = wide ? 56 : 32;
    if (phnum == 0 || phnum > kMostProgramHeaders || phentsize < minimalEntry || phentsize > 256 ||
        !within(phoff, phnum * phentsize, fileSize)) {
        return {};
    }
    std::vector<unsigned char> headers(phnum * phentsize);
    if (!readExactly(fd, headers.data(), headers.size(), phoff)) {
        return {};
    }
    for (std::uint64_t i = 0; i < phnum; ++i) {
        const unsigned char* entry = &headers[i * phentsize];
        if (little(entry, 4) != kPtNote) {
            continue;
        }
        const std::uint64_t offset = wide ? little(entry + 8, 8) : little(entry + 4, 4);
        const std::uint64_t size = wide ? little(entry + 32, 8) : little(entry + 16, 4);
        const std::uint64_t alignment = wide ? little(entry + 48, 8) : little(entry + 28, 4);
        if (size == 0 || size > kMostNoteBytes || !within(offset, size, fileSize)) {
            continue;
        }
        std::vector<unsigned char> notes(size);
        if (!readExactly(fd, notes.data(), size, offset)) {
            return {};
        }
        if (std::string id = buildIdInNotes(notes, alignment); !id.empty()) {
            return id;
        }
    }
    return {};
}

std::string readBuildIdAt(int dir, const char* path) {
    const os::UniqueFd fd(::openat(dir, path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) {
        return {};
    }
    return readBuildId(fd.get());
}

std::string readBuildId(const std::filesystem::path& path) {
    return readBuildIdAt(AT_FDCWD, path.c_str());
}

} // namespace tallowby::platform
