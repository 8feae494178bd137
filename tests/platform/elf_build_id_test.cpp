// The GNU build ID read from ELF files made here, sound and damaged, and from an installed program.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "platform/linux/elf_build_id.h"
#include "support/temp_folder.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

void put(std::string& bytes, std::size_t at, std::uint64_t value, std::size_t size) {
    if (bytes.size() < at + size) {
        bytes.resize(at + size);
    }
    for (std::size_t i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
    }
}

std::string note(const std::string& name, std::uint32_t type, const std::string& desc) {
    std::string bytes;
    put(bytes, 0, name.size() + 1, 4);
    put(bytes, 4, desc.size(), 4);
    put(bytes, 8, type, 4);
    bytes += name + '\0';
    bytes.resize((bytes.size() + 3) / 4 * 4);
    bytes += desc;
    bytes.resize((bytes.size() + 3) / 4 * 4);
    return bytes;
}

const std::string kBuildId = note("GNU", 3, "\x01\x02\xab\xcd");

// An ELF file with a loadable segment and a note segment holding `notes`; `change` may then spoil
// any field (header offsets: ELF64 phoff 32, phentsize 54, phnum 56; ELF32 28, 42, 44).
struct Elf {
    bool wide = true;
    std::string notes = kBuildId;
    std::function<void(std::string&, std::size_t noteHeader)> change = [](std::string&, std::size_t) {};

    std::string bytes() const {
        const std::size_t header = wide ? 64 : 52;
        const std::size_t entry = wide ? 56 : 32;
        const std::size_t notesAt = header + 2 * entry;
        std::string elf("\x7f"
                        "ELF",
                        4);
        put(elf, 4, wide ? 2 : 1, 1);
        put(elf, 5, 1, 1); // little-endian
        put(elf, 6, 1, 1);
        put(elf, wide ? 32 : 28, header, wide ? 8 : 4);
        put(elf, wide ? 54 : 42, entry, 2);
        put(elf, wide ? 56 : 44, 2, 2);
        put(elf, header, 1, 4); // PT_LOAD
        const std::size_t noteHeader = header + entry;
        put(elf, noteHeader, 4, 4); // PT_NOTE
        put(elf, noteHeader + (wide ? 8 : 4), notesAt, wide ? 8 : 4);
        put(elf, noteHeader + (wide ? 32 : 16), notes.size(), wide ? 8 : 4);
        put(elf, noteHeader + (wide ? 48 : 28), 4, wide ? 8 : 4);
        elf.resize(notesAt);
        elf += notes;
        change(elf, noteHeader);
        return elf;
    }
};

class ElfBuildIdTest : public ::testing::Test {
  protected:
    std::string idOf(const std::string& bytes) {
        const fs::path file = folder.path() / "program";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return readBuildId(file);
    }
    testsupport::TempFolder folder;
};

TEST_F(ElfBuildIdTest, ReadsTheNoteOfElf64AndElf32AfterOtherNotes) {
    EXPECT_EQ(idOf(Elf{}.bytes()), "0102abcd");
    EXPECT_EQ(idOf(Elf{.wide = false}.bytes()), "0102abcd");
    const std::string others = note("GNU", 5, std::string(16, 'p')) + note("Go", 4, "xyz") + kBuildId;
    EXPECT_EQ(idOf(Elf{.notes = others}.bytes()), "0102abcd");
    EXPECT_EQ(idOf(Elf{.wide = false, .notes = others}.bytes()), "0102abcd");
}

TEST_F(ElfBuildIdTest, DamagedOrForeignFilesGiveNoIdAndNoHugeRead) {
    using Change = std::function<void(std::string&, std::size_t)>;
    const struct {
        const char* what;
        Change change;
    } cases[] = {
        {"big-endian", [](std::string& e, std::size_t) { put(e, 5, 2, 1); }},
        {"not ELF", [](std::string& e, std::size_t) { e[1] = 'X'; }},
        {"65535 program headers", [](std::string& e, std::size_t) { put(e, 56, 0xffff, 2); }},
        {"program headers past the end", [](std::string& e, std::size_t) { put(e, 32, 1u << 30, 8); }},
        {"program headers wrap around",
         [](std::string& e, std::size_t) { put(e, 32, ~std::uint64_t{0} - 8, 8); }},
        {"tiny program header entries", [](std::string& e, std::size_t) { put(e, 54, 8, 2); }},
        {"notes wrap around",
         [](std::string& e, std::size_t at) { put(e, at + 8, ~std::uint64_t{0} - 4, 8); }},
        {"notes past the end", [](std::string& e, std::size_t at) { put(e, at + 32, 1u << 20, 8); }},
        {"huge name size",
         [](std::string& e, std::size_t) { put(e, e.size() - kBuildId.size(), 0xffffffff, 4); }},
        {"huge id size",
         [](std::string& e, std::size_t) { put(e, e.size() - kBuildId.size() + 4, 0xfffffff0, 4); }},
        {"cut short", [](std::string& e, std::size_t) { e.resize(e.size() - 3); }},
        {"no build id note",
         [](std::string& e, std::size_t) { put(e, e.size() - kBuildId.size() + 8, 1, 4); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(idOf(Elf{.change = c.change}.bytes()), "") << c.what;
    }
    EXPECT_EQ(idOf("#!/bin/sh\necho hello\n"), "");
    EXPECT_EQ(idOf(""), "");
    EXPECT_EQ(readBuildId(fs::path("/nonexistent")), "");
    EXPECT_EQ(readBuildId(fs::path("/dev/zero")), "");
}

TEST_F(ElfBuildIdTest, AnInstalledProgramAndItsRenamedCopyShareTheirId) {
    const fs::path copy = folder.path() / "not-a-monitor";
    fs::copy_file("/usr/bin/lxtask", copy);
    const std::string id = readBuildId(fs::path("/usr/bin/lxtask"));
    EXPECT_EQ(id.size(), 40u); // a SHA-1, as Debian's linker writes it
    EXPECT_EQ(readBuildId(copy), id);
    EXPECT_NE(readBuildId(fs::path("/usr/bin/htop")), id);
}

} // namespace
} // namespace tallowby::platform
